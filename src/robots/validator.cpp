#include "robots/validator.h"

#include <functional>
#include <set>

#include "frames/cell_layout.h"
#include "shell/form.h"

namespace {

// Whether p points at one of the count elements that start at first.
template <typename T>
bool Inside(const T* p, const T* first, size_t count) {
    std::less<const T*> less;
    return !less(p, first) && less(p, first + count);
}

bool InTable(const ShotNode* n, const ShotTable& t) {
    return Inside(n, &t.Node[0][0][0], size_t(kHeadings) * kColumns * kChainNodes);
}

bool InGraph(const ActionNode* n, const ActionGraph& g) {
    return Inside(n, &g.Node[0][0], size_t(kSequences) * kSequenceNodes);
}

void CheckGraph(const TForm1& f, const PlayerRefs& pl, std::vector<std::string>& out) {
    const ActionGraph& g = pl.graph;
    const ActionNode* start = pl.fighter.CurrentNode;
    if (!start || !InGraph(start, g)) {
        out.push_back("the fighter does not stand on a node of its graph");
        return;
    }
    std::set<const ActionNode*> seen;
    std::vector<const ActionNode*> todo{start};
    while (!todo.empty()) {
        const ActionNode* n = todo.back();
        todo.pop_back();
        if (!seen.insert(n).second) continue;
        const auto at = n - &g.Node[0][0];
        const int s = int(at / kSequenceNodes), k = int(at % kSequenceNodes);
        const std::string name = "node " + std::to_string(s) + "." + std::to_string(k);
        if (n->Duration < 1 && n->Kind != 6) out.push_back(name + ": duration below 1");
        if (n->Kind < 0 || n->Kind > 6 || (n->Kind != s && n->Kind != 0))
            out.push_back(name + ": kind " + std::to_string(n->Kind) + " in sequence " + std::to_string(s));
        const bool frameOk = n->Motion >= 0 && n->Motion < kMotions && n->Frame >= 0 && n->Frame < kFrames;
        if (!frameOk) {
            out.push_back(name + ": sprite frame out of range");
        } else {
            for (int facing = 0; facing < kFacings; ++facing) {
                const MotionPiece& p = pl.motion.Piece[facing][n->Motion][n->Frame];
                const dw::Surface* sheet = pl.sheets[1].get();
                const int w = sheet ? sheet->Width() : dw::kSheetWidth;
                const int h = sheet ? sheet->Height() : dw::kSheetHeight;
                if (p.SrcRight <= p.SrcLeft || p.SrcBottom <= p.SrcTop || p.SrcLeft < 0 || p.SrcTop < 0 ||
                    p.SrcRight > w || p.SrcBottom > h || p.HalfWidth <= 0 || p.HalfHeight <= 0) {
                    out.push_back(name + ": no sprite frame for facing " + std::to_string(facing));
                    break;
                }
            }
        }
        for (const ActionNode* next : n->Next) {
            if (!next) continue;
            if (!InGraph(next, g))
                out.push_back(name + ": a link leaves the graph");
            else
                todo.push_back(next);
        }
    }
    (void)f;
}

void CheckShots(const TForm1& f, const PlayerRefs& pl, std::vector<std::string>& out) {
    for (int k = 0; k < 4; ++k) {
        const ShotRecord& first = f.Shots.Record[pl.firstGroup + k][0][0];
        const bool dummy = first.Weapon == &f.DammyWeapon;
        const ShotTable& table = dummy ? f.DammyShotTable : pl.shotTables[size_t(k)];
        const std::string slot = "slot " + std::to_string(k + 1);
        if (!first.Weapon) {
            out.push_back(slot + ": no weapon");
            continue;
        }
        if (first.Weapon->Rows < 1 || first.Weapon->Rows > kMaxRows || first.Weapon->Columns < 1 ||
            first.Weapon->Columns > kColumns)
            out.push_back(slot + ": rows or columns out of range");
        std::set<const ShotNode*> seen;
        std::vector<const ShotNode*> todo;
        for (int row = 0; row < kMaxRows; ++row)
            for (int col = 0; col < kColumns; ++col) {
                const ShotRecord& r = f.Shots.Record[pl.firstGroup + k][row][col];
                if (r.Weapon != first.Weapon) out.push_back(slot + ": records of one slot disagree on the weapon");
                if (!r.Node || !InTable(r.Node, table))
                    out.push_back(slot + ": a record's node lies outside its table");
                else if (row < first.Weapon->Rows && col < first.Weapon->Columns)
                    todo.push_back(r.Node);  // records beyond Rows and Columns are never launched
            }
        while (!todo.empty()) {
            const ShotNode* n = todo.back();
            todo.pop_back();
            if (!seen.insert(n).second) continue;
            const auto at = n - &table.Node[0][0][0];
            const std::string name = slot + " node (" + std::to_string(at / (kColumns * kChainNodes)) + ", " +
                                     std::to_string(at / kChainNodes % kColumns) + ", " +
                                     std::to_string(at % kChainNodes) + ")";
            if (n->Duration < 1) out.push_back(name + ": duration below 1 (an unwritten node?)");
            if (n->MoveKind < 0 || n->MoveKind > 5) out.push_back(name + ": unknown movement");
            if (n->HitKind < 0 || n->HitKind > 3) out.push_back(name + ": unknown hit test");
            auto follow = [&](const ShotNode* link, const char* what) {
                if (!link) return;
                if (!InTable(link, table))
                    out.push_back(name + ": " + what + " leaves the table");
                else
                    todo.push_back(link);
            };
            follow(n->Next, "next");
            follow(n->ImpactNode, "impact");
            for (int d = 0; d < kHeadings; ++d) {
                if (!LaunchLink(*n, d)) out.push_back(name + ": no launch link for heading " + std::to_string(d));
                follow(LaunchLink(*n, d), "a launch link");
                if (n->MoveKind == kMoveBranch && !HomingLink(*n, d))
                    out.push_back(name + ": steer node without a homing link for heading " + std::to_string(d));
                if (n->MoveKind == kMoveBranch) follow(HomingLink(*n, d), "a homing link");
            }
        }
    }
}

}  // namespace

std::vector<std::string> ValidateRobot(const TForm1& form, int player) {
    std::vector<std::string> out;
    // Player() hands out references for writing; the validator only reads through them.
    PlayerRefs pl = const_cast<TForm1&>(form).Player(player);
    if (!pl.fighter.Spec) out.push_back("no specification");
    CheckGraph(form, pl, out);
    CheckShots(form, pl, out);
    return out;
}
