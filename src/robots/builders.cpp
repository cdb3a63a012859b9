#include "robots/builders.h"

void SetColumnLaunchLinks(ShotTable& table, int column, int count) {
    for (int h = 0; h < kHeadings; ++h)
        for (int n = 0; n < count; ++n)
            for (int d = 0; d < kHeadings; ++d) LaunchLink(table.Node[h][column][n], d) = &table.Node[d][column][0];
}

void LinkChain(ShotTable& table, int heading, int column, int count, ShotNode* last) {
    ShotNode* chain = table.Node[heading][column];
    for (int n = 0; n + 1 < count; ++n) chain[n].Next = &chain[n + 1];
    if (count > 0) chain[count - 1].Next = last;
}
