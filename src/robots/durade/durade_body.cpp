// Durade-Revov's action graph and loader row.
#include "robots/durade/durade.h"
#include "robots/third_set_specs.h"
#include "robots/zeredi/arms.h"

void Bahao_Action(ActionGraph& graph) {
    // node, kind, duration, accepts, move, fire, turn, motion, frame,
    // next by slot: default, weapon 1..4, guard, hit, idle
    static constexpr NodeRow kRows[] = {
        // weapon 1: held through 1.3 fires again at 1.1
        {{1, 0}, 1, 6, 0, 1, 0, 0, 1, 0, {{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {6, 0}, {0, 0}}},
        {{1, 1}, 1, 2, 1, 1, 1, 0, 1, 1, {{1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {6, 0}, {0, 0}}},
        {{1, 2}, 1, 4, 1, 1, 0, 0, 1, 2, {{1, 3}, {1, 3}, {1, 3}, {1, 3}, {1, 3}, {1, 3}, {6, 0}, {0, 0}}},
        {{1, 3}, 1, 8, 0, 1, 0, 1, 1, 3, {{0, 0}, {1, 1}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {6, 0}, {0, 0}}},
        // weapon 2: no re-entry
        {{2, 0}, 2, 4, 0, 1, 0, 0, 2, 0, {{2, 1}, {2, 1}, {2, 1}, {2, 1}, {2, 1}, {2, 1}, {6, 0}, {0, 0}}},
        {{2, 1}, 2, 4, 0, 1, 1, 0, 2, 1, {{2, 2}, {2, 2}, {2, 2}, {2, 2}, {2, 2}, {2, 2}, {6, 0}, {0, 0}}},
        {{2, 2}, 2, 3, 0, 1, 0, 0, 2, 2, {{2, 3}, {2, 3}, {2, 3}, {2, 3}, {2, 3}, {2, 3}, {6, 0}, {0, 0}}},
        {{2, 3}, 2, 3, 0, 1, 0, 0, 2, 3, {{2, 4}, {2, 4}, {2, 4}, {2, 4}, {2, 4}, {2, 4}, {6, 0}, {0, 0}}},
        {{2, 4}, 2, 4, 0, 1, 0, 0, 2, 4, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {6, 0}, {0, 0}}},
        // weapon 3: the wind-up breaks off into guard or weapon 1; rooted from the firing on
        {{3, 0}, 3, 14, 1, 1, 0, 1, 3, 0, {{3, 1}, {1, 0}, {3, 1}, {3, 1}, {3, 1}, {5, 0}, {6, 0}, {0, 0}}},
        {{3, 1}, 3, 8, 0, 0, 1, 1, 3, 1, {{3, 2}, {3, 2}, {3, 2}, {3, 2}, {3, 2}, {3, 2}, {6, 0}, {0, 0}}},
        {{3, 2}, 3, 5, 0, 0, 0, 1, 3, 2, {{3, 3}, {3, 3}, {3, 3}, {3, 3}, {3, 3}, {3, 3}, {6, 0}, {0, 0}}},
        {{3, 3}, 3, 12, 1, 0, 0, 1, 3, 3, {{0, 0}, {0, 0}, {0, 0}, {3, 1}, {0, 0}, {0, 0}, {6, 0}, {0, 0}}},
        // weapon 4: guard breaks off at the end of 4.0 only; 4.1's guard link leads on into
        // the fire node
        {{4, 0}, 4, 8, 1, 1, 0, 1, 4, 0, {{4, 1}, {1, 0}, {4, 1}, {3, 0}, {4, 1}, {5, 0}, {6, 0}, {0, 0}}},
        {{4, 1}, 4, 10, 1, 0, 0, 1, 4, 1, {{4, 2}, {1, 0}, {4, 2}, {3, 0}, {4, 2}, {4, 2}, {6, 0}, {0, 0}}},
        {{4, 2}, 4, 6, 1, 0, 1, 1, 4, 2, {{4, 3}, {4, 3}, {4, 3}, {4, 3}, {4, 3}, {4, 3}, {6, 0}, {0, 0}}},
        {{4, 3}, 4, 8, 1, 0, 0, 1, 4, 3, {{4, 4}, {4, 4}, {4, 4}, {4, 4}, {4, 4}, {4, 4}, {6, 0}, {0, 0}}},
        {{4, 4}, 4, 14, 1, 0, 0, 1, 4, 4, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {4, 2}, {0, 0}, {6, 0}, {0, 0}}},
        // idle and guard take no request at once: a request starts when their frame ends
        {{0, 0}, 0, 1, 0, 1, 0, 1, 0, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {0, 0}}},
        {{5, 0}, 5, 1, 0, 0, 0, 1, 5, 0, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {5, 0}, {5, 0}, {0, 0}}},
        {{6, 0}, 6, 10, 0, 1, 0, 1, 6, 0, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {6, 0}, {0, 0}}},
    };
    WriteGraph(graph, kRows);
    for (auto& sequence : graph.Node)  // every node of the graph carries these two words
        for (ActionNode& n : sequence) {
            n.NodeWord7 = 77;
            n.NodeWord8 = 70;
        }
}

// clang-format off
const RobotRow kDuradeRow = {
    "Durade-Revov", Bahao_Spec, -1, Bahao_Action,
    {Bahao_Weapon1, Bahao_Weapon2, Bahao_Weapon3, Bahao_Weapon4},
    nullptr, 0, 0b1111u, 0,
    {"p_Dirazi/tang_back.bmp", "p_Dirazi/tang_bs.bmp", "p_Dirazi/tang_front.bmp", "p_Dirazi/tang_fs.bmp",
     "p_Dirazi/tang_side.bmp"},
};
// clang-format on
