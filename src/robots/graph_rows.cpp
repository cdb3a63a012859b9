#include "robots/loading.h"

namespace {

ActionNode* Resolve(ActionGraph& graph, NodeRef r) {
    if (r.s < 0 || r.s >= kSequences || r.k < 0 || r.k >= kSequenceNodes) return nullptr;
    return &graph.Node[r.s][r.k];
}

}  // namespace

void WriteGraphRows(ActionGraph& graph, const NodeRow* rows, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const NodeRow& r = rows[i];
        ActionNode* n = Resolve(graph, r.at);
        if (!n) continue;
        n->AcceptsRequest = r.acceptsRequest;
        n->Kind = r.kind;
        n->CanMove = r.canMove;
        n->Duration = r.duration;
        n->FireFrame = r.fireFrame;
        n->TurnToOpponent = r.turnToOpponent;
        n->Motion = r.motion;
        n->Frame = r.frame;
        n->NodeWord7 = r.word7;
        n->NodeWord8 = r.word8;
        for (int s = 0; s < 8; ++s) n->Next[s] = Resolve(graph, r.next[s]);
    }
}

void CopyNode(ActionGraph& graph, NodeRef from, NodeRef to) {
    ActionNode* a = Resolve(graph, from);
    ActionNode* b = Resolve(graph, to);
    if (a && b) *b = *a;
}
