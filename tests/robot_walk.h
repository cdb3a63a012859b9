// Test helpers that read robot data the way the fight reads it: a shot flown frame by
// frame, and an action graph stepped under held and pressed buttons. They follow the
// engine's published rules, so a robot's tables can be checked against the figures its
// design states without running a fight.
#pragma once

#include <cmath>
#include <memory>
#include <string>
#include <vector>

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

// The heading from one point toward another; each axis heading covers 30 degrees either side.
inline int DirectionTo(int fromX, int fromY, int toX, int toY) {
    const double dx = toX - fromX, dy = fromY - toY;  // dy up
    const double len = std::hypot(dx, dy);
    if (len == 0) return 0;
    const double x = dx / len, y = dy / len, axis = std::sqrt(3.0) / 2;
    if (y >= axis) return 0;
    if (x >= axis) return 2;
    if (y <= -axis) return 4;
    if (x <= -axis) return 6;
    if (x > 0) return y > 0 ? 1 : 3;
    return y > 0 ? 7 : 5;
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

    // One frame: move by the node's movement, then count the frame in the node.
    void Frame(Point owner, Point target) {
        switch (node->MoveKind) {
        case kMoveBranch:
            heading = DirectionTo(at.x, at.y, target.x, target.y);
            node = HomingLink(*node, heading);
            ticks = 0;
            Move(node->Dx, node->Dy);
            break;
        case kMoveAtTarget: at = {target.x + node->Dx, target.y + node->Dy}; break;
        case kMoveHoming:
            heading = DirectionTo(at.x, at.y, target.x, target.y);
            Move(kHeadingSignX[heading] * node->Dx, kHeadingSignY[heading] * node->Dy);
            break;
        case kMoveMelee:
            at = {owner.x + weapon->LaunchPoint[heading][0].x, owner.y + weapon->LaunchPoint[heading][0].y};
            break;
        default: Move(node->Dx, node->Dy); break;
        }
        if (++ticks < node->Duration) return;
        ticks = 0;
        if (node->Next)
            node = node->Next;
        else
            active = armed = false;
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

    void Move(int dx, int dy) {
        at.x += dx;
        at.y += dy;
    }
};

// A fighter's action graph under a button script, counting the volleys it fires.
struct Pilot {
    const ActionNode* node;
    int state = 0;
    int ticks = 0;
    int latch = 0;
    int held[4] = {};  // 0 up, 1 newly pressed, 2 press taken
    int volleys[4] = {};

    explicit Pilot(const ActionNode* idle) : node(idle) {}
    void Press(int k) {
        if (!held[k - 1]) held[k - 1] = 1;
    }
    void Release(int k) { held[k - 1] = 0; }

    // One frame: a request from a node that accepts one, firing, then the node's step.
    void Frame() {
        if (node->AcceptsRequest) {
            for (int k = 1; k <= 4; ++k)
                if (held[k - 1] == 1 && (state == 0 || state == k)) {
                    if (state == k) latch = 0;
                    Enter(k, k);
                    break;
                }
        }
        if (node->FireFrame && state >= 1 && state <= 4 && !latch) {
            latch = 1;
            ++volleys[state - 1];
        }
        if (++ticks < node->Duration) return;
        for (int k = 1; k <= 4; ++k)
            if (held[k - 1]) {
                Enter(k, k);
                return;
            }
        Enter(kSlotDefault, state);
        latch = 0;
        if (node->Kind == 0) state = 0;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }

    void Enter(int slot, int newState) {
        node = node->Next[slot];
        ticks = 0;
        state = newState;
        if (slot >= 1 && slot <= 4) held[slot - 1] = 2;
    }
};

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
