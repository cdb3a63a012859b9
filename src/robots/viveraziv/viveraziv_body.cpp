// ViveraziV's specification, action graph and loader row.
#include "robots/darizev/fire_fly.h"
#include "robots/viveraziv/viveraziv.h"

void Scav_Spec(RobotSpec& spec, int modifier) { FillSpec(spec, SpecHeader{580, 600, 25, 25, 14, 5, 1}, modifier); }

void Scav_Action(ActionGraph& graph) {
    // node, kind, duration, accepts, move, fire, turn, motion, frame,
    // next by slot: default, weapon 1..4, guard, hit, idle
    static constexpr NodeRow kRows[] = {
        {{0, 0}, 0, 1, 0, 1, 0, 1, 0, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {0, 0}}},
        {{1, 0}, 1, 2, 0, 1, 0, 0, 1, 0, {{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {6, 0}, {0, 0}}},
        {{1, 1}, 1, 2, 0, 1, 0, 0, 1, 1, {{1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {6, 0}, {0, 0}}},
        {{1, 2}, 1, 6, 1, 1, 1, 0, 1, 2, {{1, 3}, {1, 3}, {1, 3}, {1, 3}, {1, 3}, {1, 3}, {6, 0}, {0, 0}}},
        {{1, 3}, 1, 8, 1, 1, 0, 1, 1, 1, {{0, 0}, {1, 1}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {6, 0}, {0, 0}}},
        {{2, 0}, 2, 2, 0, 1, 0, 0, 2, 0, {{2, 1}, {2, 1}, {2, 1}, {2, 1}, {2, 1}, {2, 1}, {6, 0}, {0, 0}}},
        {{2, 1}, 2, 10, 0, 1, 1, 0, 2, 1, {{2, 2}, {2, 2}, {2, 2}, {2, 2}, {2, 2}, {2, 2}, {6, 0}, {0, 0}}},
        {{2, 2}, 2, 6, 0, 1, 0, 0, 2, 0, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {6, 0}, {0, 0}}},
        {{3, 0}, 3, 8, 0, 1, 0, 0, 2, 0, {{3, 1}, {3, 1}, {3, 1}, {3, 1}, {3, 1}, {3, 1}, {6, 0}, {0, 0}}},
        {{3, 1}, 3, 12, 0, 0, 1, 0, 3, 0, {{3, 2}, {3, 2}, {3, 2}, {3, 2}, {3, 2}, {3, 2}, {6, 0}, {0, 0}}},
        {{3, 2}, 3, 10, 0, 0, 0, 0, 2, 0, {{0, 0}, {0, 0}, {0, 0}, {3, 1}, {0, 0}, {0, 0}, {6, 0}, {0, 0}}},
        {{5, 0}, 5, 1, 1, 0, 0, 1, 5, 0, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {5, 0}, {5, 0}, {0, 0}}},
        {{6, 0}, 6, 10, 0, 1, 0, 1, 6, 0, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {6, 0}, {0, 0}}},
    };
    WriteGraph(graph, kRows);
    CopyNode(graph, {0, 0}, {4, 0});  // no fourth weapon: its sequence is the idle node
}

// clang-format off
const RobotRow kViveraziVRow = {
    "ViveraziV", Scav_Spec, 1, Scav_Action,
    {Scav_Weapon1, Scav_Weapon2, Scav_Weapon3, nullptr},
    nullptr, 0, 0b0110u, 6,
    {"p_Viveraziv/sc_back.BMP", "p_Viveraziv/sc_bs.BMP", "p_Viveraziv/sc_front.BMP", "p_Viveraziv/sc_fs.BMP",
     "p_Viveraziv/sc_side.BMP"},
};
// clang-format on
