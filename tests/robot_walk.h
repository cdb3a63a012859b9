// Test helpers that read robot data through the fight's own rules: a shot flown frame by
// frame, and an action graph stepped under held and pressed buttons, without the rest of
// a fight around them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fight/fighter.h"
#include "fight/shots.h"
#include "robots/builders.h"
#include "robots/loading.h"
#include "shell/form.h"

namespace robot_walk {

// A form with a robot loaded into a player (no display: the load stops at the sheets).
inline std::unique_ptr<TForm1> Loaded(const RobotRow& row, int player = 0) {
    auto form = std::make_unique<TForm1>();
    form->BuildDammyWeapon();
    form->BuildDefaultMotions();
    form->LoadRobot(player, row);
    return form;
}

// The bytes of everything a load writes into a player's records, to compare two loads.
inline std::vector<unsigned char> Snapshot(TForm1& form, int player) {
    PlayerRefs p = form.Player(player);
    std::vector<unsigned char> out;
    auto add = [&](const void* data, size_t size) {
        const auto* b = static_cast<const unsigned char*>(data);
        out.insert(out.end(), b, b + size);
    };
    add(&p.spec, sizeof p.spec);
    add(&p.graph, sizeof p.graph);
    add(p.shotTables.data(), sizeof p.shotTables);
    add(&p.motion, sizeof p.motion);
    for (const WeaponData& w : p.weapons) {
        add(w.LaunchPoint, sizeof w.LaunchPoint);
        const int32_t words[] = {w.StartAmmo, w.EnergyCost, w.VanishOnHit, w.DisarmOnHit, w.Rows, w.Columns, w.TrailOn};
        add(words, sizeof words);
        add(w.FireSound.data(), w.FireSound.size());
        add(w.HitSound.data(), w.HitSound.size());
    }
    for (int k = 0; k < 4; ++k)
        for (int r = 0; r < kMaxRows; ++r)
            for (const ShotRecord& rec : form.Shots.Record[p.firstGroup + k][r]) {
                add(&rec.Node, sizeof rec.Node);
                add(&rec.Weapon, sizeof rec.Weapon);
            }
    return out;
}

struct Point {
    int x = 0;
    int y = 0;
};

// One shot in flight.
struct Flight {
    const WeaponData* weapon = nullptr;
    Point at;
    int heading = 0;
    const ShotNode* node = nullptr;
    int ticks = 0;
    bool active = false;
    bool armed = false;

    // Launches from the record node `rest`, facing `heading`, from an owner at `owner`.
    Flight(const WeaponData& w, const ShotNode& rest, int column, int facing, Point owner)
        : weapon(&w), heading(facing), node(LaunchLink(rest, facing)), active(node != nullptr), armed(active) {
        at = {owner.x + w.LaunchPoint[facing][column].x, owner.y + w.LaunchPoint[facing][column].y};
    }

    // One frame, by the engine's own movement and node step.
    void Frame(Point owner, Point target) {
        ShotRecord r;
        r.PosX = at.x;
        r.PosY = at.y;
        r.Heading = heading;
        r.Active = active;
        r.HitArmed = armed;
        r.Ticks = ticks;
        r.Weapon = weapon;
        r.Node = const_cast<ShotNode*>(node);
        FighterState o, t;
        o.PosX = owner.x;
        o.PosY = owner.y;
        t.PosX = target.x;
        t.PosY = target.y;
        MoveShot(r, o, t);
        StepShotNode(r, o);
        at = {r.PosX, r.PosY};
        heading = r.Heading;
        node = r.Node;
        ticks = r.Ticks;
        active = r.Active;
        armed = armed && r.Active;
    }

    // A hit: the weapon's flags, then the impact node with the count restarted.
    void Hit() {
        if (weapon->DisarmOnHit) armed = false;
        if (node->ImpactNode) {
            node = node->ImpactNode;
            ticks = 0;
        }
    }

    // Flies until the shot ends; the number of frames it lived.
    int Life(Point owner, Point target) {
        int frames = 0;
        for (; active && frames < 10000; ++frames) Frame(owner, target);
        return frames;
    }
};

// A fighter's action graph under a button script, stepped by the engine's own rules,
// counting the volleys it fires. A press stays "new" until the graph takes it.
struct Pilot {
    FighterState f;
    const ActionNode* node;
    int state = 0;
    int volleys[4] = {};

    explicit Pilot(const ActionNode* idle) : node(idle) { f.CurrentNode = const_cast<ActionNode*>(idle); }
    void Press(int k) {
        if (!f.FireHeld[k - 1]) f.FireHeld[k - 1] = 1;
    }
    void Release(int k) { f.FireHeld[k - 1] = 0; }

    // One frame: a request, firing (one volley until the latch is cleared), the node's step.
    void Frame() {
        TakeActionRequest(f);
        if (f.CurrentNode->FireFrame && f.ActionState >= 1 && f.ActionState <= 4 && !f.FireLatch) {
            f.FireLatch = 1;
            ++volleys[f.ActionState - 1];
        }
        StepActionGraph(f);
        node = f.CurrentNode;
        state = f.ActionState;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
};

// Each of the first `weapons` buttons, pressed once from idle and held for `frames`,
// fires exactly one volley.
inline void ExpectOneVolleyPerHeldButton(const ActionGraph& g, int weapons, int frames) {
    for (int k = 1; k <= weapons; ++k) {
        Pilot p(&g.Node[0][0]);
        p.Press(k);
        p.Frames(frames);
        EXPECT_EQ(p.volleys[k - 1], 1) << "button " << k;
    }
}

// Frames of a sequence followed by its default links from its first node back to idle.
inline int SequenceLength(const ActionGraph& g, int sequence) {
    int frames = 0;
    for (const ActionNode* n = &g.Node[sequence][0]; n && n->Kind != 0; n = n->Next[kSlotDefault]) frames += n->Duration;
    return frames;
}

// The mirror image of a step about the line of a heading.
inline Point Mirror(int heading, Point p) {
    switch (heading & 3) {
    case 0: return {-p.x, p.y};
    case 2: return {p.x, -p.y};
    case 1: return {-p.y, -p.x};
    default: return {p.y, p.x};
    }
}

}  // namespace robot_walk
