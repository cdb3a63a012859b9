// Where each shot sprite lies in the "WEAPON" sheet. The robots' shot nodes name these
// rectangles; the sheet is drawn from this list.
#pragma once

#include <cstdint>

#include "platform/geometry.h"

namespace assetgen {

enum class Sprite : uint8_t { Bullet, Tracer, Shell, BigShell, Orb, Firefly, Mine, Burst };

struct SpriteCell {
    dw::Rect rect;
    Sprite kind;
    int heading;  // 0 up, 1 up-right, 2 right, 3 down-right, 4 down; bursts: size step
};

constexpr SpriteCell kSprites[] = {
    // Small bullets (machine guns, gatlings, shotguns), 10 x 10: headings 0/4, 2/6, 1/7, 3/5.
    {{0, 0, 10, 10}, Sprite::Bullet, 0},
    {{11, 0, 21, 10}, Sprite::Bullet, 2},
    {{22, 0, 32, 10}, Sprite::Bullet, 1},
    {{33, 0, 43, 10}, Sprite::Bullet, 3},
    // Missile, rocket, grenade and pellet ball, 12 x 10; its left 10 x 10 is used alone too.
    {{43, 0, 55, 10}, Sprite::Orb, 0},
    // Fireflies, 14 x 14: headings 0, 2/6, 1/7, 3/5 and 4.
    {{80, 0, 94, 14}, Sprite::Firefly, 0},
    {{95, 0, 109, 14}, Sprite::Firefly, 2},
    {{110, 0, 124, 14}, Sprite::Firefly, 1},
    {{125, 0, 139, 14}, Sprite::Firefly, 3},
    {{141, 0, 155, 14}, Sprite::Firefly, 4},
    // Long-rifle bullets, 20 x 20: headings 0/4, 2/6, 1/7, 3/5.
    {{0, 11, 20, 31}, Sprite::Tracer, 0},
    {{21, 11, 41, 31}, Sprite::Tracer, 2},
    {{42, 11, 62, 31}, Sprite::Tracer, 1},
    {{63, 11, 83, 31}, Sprite::Tracer, 3},
    // Three-way cannon shells, 30 x 30: headings 0/4, 2/6, 1/7, 3/5.
    {{0, 32, 30, 62}, Sprite::Shell, 0},
    {{31, 32, 61, 62}, Sprite::Shell, 2},
    {{62, 32, 92, 62}, Sprite::Shell, 1},
    {{93, 32, 123, 62}, Sprite::Shell, 3},
    // 300 mm cannon shells, 40 x 40: headings 0/4, 2/6, 1/7, 3/5.
    {{0, 62, 40, 102}, Sprite::BigShell, 0},
    {{41, 62, 81, 102}, Sprite::BigShell, 2},
    {{82, 62, 122, 102}, Sprite::BigShell, 1},
    {{123, 62, 163, 102}, Sprite::BigShell, 3},
    // Floating mine, 20 x 20.
    {{82, 104, 102, 124}, Sprite::Mine, 0},
    // Explosions: first burst, second burst, mine blast, large blast (grenades, rifles).
    {{0, 130, 24, 154}, Sprite::Burst, 0},
    {{30, 127, 56, 153}, Sprite::Burst, 1},
    {{60, 127, 88, 155}, Sprite::Burst, 2},
    {{0, 156, 30, 186}, Sprite::Burst, 3},
};

}  // namespace assetgen
