#include "robot_models.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace assetgen {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct V3 {
    double x = 0, y = 0, z = 0;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 Unit(V3 a) {
    const double n = std::sqrt(Dot(a, a));
    return n > 1e-9 ? a * (1.0 / n) : V3{0, 1, 0};
}
V3 Lerp(V3 a, V3 b, double t) { return a + (b - a) * t; }

// ---- the robots ---------------------------------------------------------------------

enum class Legs : uint8_t { Biped, Lizard, Spider, Treads, Hover };
enum class HeadShape : uint8_t { Dome, Visor, Snout, Sensor, Hatch };
enum class Arm : uint8_t {
    None,
    Gun,
    Rifle,
    Gatling,
    Cannon,
    Grenade,
    Flamer,
    Beam,
    Claw,
    Stick,
    Saw,
    Spike,
    Pod,
    Hive
};
enum class Mount : uint8_t { RightHand, LeftHand, RightShoulder, LeftShoulder, Back, Head };

struct WeaponSpec {
    Arm kind = Arm::None;
    Mount mount = Mount::RightHand;
};

struct Design {
    Ramp body, trim, joint, eye;
    Legs legs;
    HeadShape head;
    V3 torso;  // half sizes: width, depth, height
    double hipZ;
    std::array<WeaponSpec, 4> weapons;
};

using enum Arm;
using enum Mount;
// Roster order. Slots 1..4 of each robot; three-weapon robots leave slot 4 empty.
// clang-format off
const Design kDesigns[kRobotCount] = {
    // Zeredi vovu Ridodar: green lizard; machine gun, stick, missile pod
    {Ramp::Green, Ramp::Gold, Ramp::Steel, Ramp::Red, Legs::Lizard, HeadShape::Snout, {6, 5, 5}, 10,
     {{{Gun, RightHand}, {Stick, LeftHand}, {Pod, RightShoulder}, {}}}},
    // Revidu zava Davov: teal lizard; long rifle, stick, four-way rockets
    {Ramp::Teal, Ramp::Steel, Ramp::Steel, Ramp::Gold, Legs::Lizard, HeadShape::Snout, {6, 5, 5}, 10,
     {{{Rifle, RightHand}, {Stick, LeftHand}, {Pod, Back}, {}}}},
    // ZovaZazovo: heavy orange walker; gatling, laser spike, cannon, missiles
    {Ramp::Rust, Ramp::Steel, Ramp::Steel, Ramp::Teal, Legs::Biped, HeadShape::Visor, {8, 6, 6}, 10,
     {{{Gatling, RightHand}, {Spike, LeftHand}, {Cannon, RightShoulder}, {Pod, LeftShoulder}}}},
    // DedaZivirEvavid: purple brute; gatling, ripper claw, fire creeper, rockets
    {Ramp::Purple, Ramp::Gold, Ramp::Steel, Ramp::Green, Legs::Biped, HeadShape::Hatch, {9, 6, 6}, 9,
     {{{Gatling, RightHand}, {Claw, LeftHand}, {Flamer, LeftShoulder}, {Pod, Back}}}},
    // DariZev: yellow four-legged bug; machine gun, spike, firefly hive
    {Ramp::Gold, Ramp::Olive, Ramp::Brown, Ramp::Green, Legs::Spider, HeadShape::Sensor, {7, 7, 4}, 9,
     {{{Gun, RightHand}, {Spike, LeftHand}, {Hive, Back}, {}}}},
    // DeziVor: brown stomper; shotgun, chain saw, mine dropper
    {Ramp::Brown, Ramp::Rust, Ramp::Steel, Ramp::Gold, Legs::Biped, HeadShape::Dome, {8, 6, 5}, 9,
     {{{Gun, RightHand}, {Saw, LeftHand}, {Pod, Back}, {}}}},
    // Zo-Ra: plain steel trooper
    {Ramp::Steel, Ramp::Blue, Ramp::Steel, Ramp::Red, Legs::Biped, HeadShape::Visor, {7, 5, 5}, 10,
     {{{Gun, RightHand}, {Stick, LeftHand}, {Pod, RightShoulder}, {}}}},
    // DivizOdir: blue hover unit; grenades, claw, laser, tempest pod
    {Ramp::Blue, Ramp::Ivory, Ramp::Steel, Ramp::Fire, Legs::Hover, HeadShape::Dome, {7, 6, 5}, 9,
     {{{Grenade, RightHand}, {Claw, LeftHand}, {Beam, Head}, {Pod, Back}}}},
    // D-2-E: slim white duellist; long rifle, claw, shoulder laser
    {Ramp::Ivory, Ramp::Red, Ramp::Steel, Ramp::Teal, Legs::Biped, HeadShape::Visor, {6, 4, 5}, 12,
     {{{Rifle, RightHand}, {Claw, LeftHand}, {Beam, LeftShoulder}, {}}}},
    // Durade-Revov: olive tank; shotgun, banishing blade, three-way cannon, rockets
    {Ramp::Olive, Ramp::Sand, Ramp::Steel, Ramp::Red, Legs::Treads, HeadShape::Hatch, {8, 7, 4}, 7,
     {{{Gun, RightHand}, {Spike, LeftHand}, {Cannon, Head}, {Pod, Back}}}},
    // ViveraziV: crimson hover striker; long rifle, fireflies, napalm
    {Ramp::Red, Ramp::Ivory, Ramp::Steel, Ramp::Teal, Legs::Hover, HeadShape::Sensor, {6, 5, 5}, 10,
     {{{Rifle, RightHand}, {Hive, Back}, {Flamer, LeftHand}, {}}}},
};
// clang-format on

bool IsMelee(Arm a) { return a == Claw || a == Stick || a == Saw || a == Spike; }
bool IsRapid(Arm a) { return a == Gun || a == Gatling; }

// ---- poses --------------------------------------------------------------------------

struct Pose {
    double walk = 0;    // leg cycle, radians
    double bob = 0;     // body lift
    double tilt = 0;    // lean back in a hit, radians
    double shake = 0;   // sideways jolt
    int active = -1;    // weapon slot 0..3 in use
    double aim = 0;     // 0 arm at rest .. 1 arm levelled
    double recoil = 0;  // units the weapon is pushed back
    double flash = 0;   // muzzle flash, 0 .. 1
    double swing = 0;   // melee: -1 wound up .. 1 struck through
    double smoke = 0;   // launcher smoke, 0 .. 1
    bool guard = false;
    double sparks = 0;  // hit sparks, 0 .. 1
    double blink = 0;   // body flash in a hit
    int frame = 0;
};

Pose MakePose(const Design& d, int motion, int frame) {
    Pose p;
    p.frame = frame;
    const double f = frame;
    p.walk = f / 10.0 * 2 * kPi;
    if (motion <= 0 || motion > 6) {
        p.bob = d.legs == Legs::Hover ? 1.5 * std::sin(p.walk) : 0.6 * std::fabs(std::sin(p.walk));
        return p;
    }
    p.walk = 0;
    if (motion == 5) {
        p.guard = true;
        p.bob = -1.0;
        p.flash = 0.5 + 0.5 * std::sin(f / 10.0 * 2 * kPi);  // shield pulse
        return p;
    }
    if (motion == 6) {
        const double fade = 1.0 - f / 10.0;
        p.tilt = 0.45 * fade * (frame < 2 ? 0.6 + 0.2 * f : 1.0);
        p.shake = (frame % 2 == 0 ? 1.0 : -1.0) * 1.5 * fade;
        p.sparks = frame < 6 ? 1.0 - f / 6.0 : 0.0;
        p.blink = frame < 3 && frame % 2 == 0 ? 1.0 : 0.0;
        return p;
    }
    // Attacks: the slot's weapon, or slot 1's for a robot without that slot.
    int slot = motion - 1;
    if (d.weapons[size_t(slot)].kind == None) slot = 0;
    p.active = slot;
    const Arm kind = d.weapons[size_t(slot)].kind;
    static constexpr double kAim[10] = {0.4, 0.8, 1, 1, 1, 1, 1, 1, 0.8, 0.5};
    p.aim = kAim[frame];
    if (IsMelee(kind)) {
        static constexpr double kSwing[10] = {-0.3, -0.7, -1, -0.4, 0.5, 1, 1, 0.7, 0.4, 0.1};
        p.swing = kSwing[frame];
        p.flash = (frame == 4 || frame == 5) ? 1.0 : 0.0;
    } else if (IsRapid(kind)) {
        static constexpr double kFlash[10] = {0, 0, 1, 0.3, 1, 0.3, 1, 0.3, 0, 0};
        p.flash = kFlash[frame];
        p.recoil = kFlash[frame] * 1.5;
    } else if (kind == Beam || kind == Flamer) {
        static constexpr double kBeam[10] = {0.15, 0.3, 0.5, 1, 1, 0.9, 1, 0.8, 0.4, 0.1};
        p.flash = kBeam[frame];
    } else {
        static constexpr double kShot[10] = {0, 0, 0, 1, 0.6, 0.25, 0, 0, 0, 0};
        static constexpr double kKick[10] = {0, 0, 0, 3, 2.5, 1.8, 1.1, 0.5, 0.2, 0};
        p.flash = kShot[frame];
        p.recoil = kKick[frame];
        p.smoke = frame >= 4 && frame <= 8 ? (f - 3) / 5.0 : 0.0;
    }
    return p;
}

// ---- parts and their drawing --------------------------------------------------------

struct Part {
    enum class Kind : uint8_t { Ball, Rod, Box } kind = Kind::Ball;
    V3 a{}, b{};               // ball centre, rod ends, box centre
    std::array<V3, 3> axes{};  // box half axes
    double r = 0;
    Ramp ramp = Ramp::Steel;
    int bias = 0;
    bool upper = true;  // leans with the body in a hit
};

struct Glow {
    enum class Kind : uint8_t { Star, Beam, Shield, Spark } kind = Kind::Star;
    V3 a, b;
    double r = 0;
    Ramp ramp = Ramp::Fire;
    int seed = 0;
};

class Model {
public:
    std::vector<Part> parts;
    std::vector<Glow> glows;
    bool upper = true;
    int bias = 0;

    void Ball(V3 c, double r, Ramp ramp, int level = 0) {
        Add({.kind = Part::Kind::Ball, .a = c, .r = r}, ramp, level);
    }
    void Rod(V3 a, V3 b, double r, Ramp ramp, int level = 0) {
        Add({.kind = Part::Kind::Rod, .a = a, .b = b, .r = r}, ramp, level);
    }
    void Box(V3 c, V3 half, Ramp ramp, int level = 0) {
        BoxAxes(c, {V3{half.x, 0, 0}, V3{0, half.y, 0}, V3{0, 0, half.z}}, ramp, level);
    }
    // A box from a to b, `w` wide and `h` high (half sizes) across it.
    void BoxAlong(V3 a, V3 b, double w, double h, Ramp ramp, int level = 0) {
        const V3 d = Unit(b - a);
        V3 side = Cross(d, V3{0, 0, 1});
        if (Dot(side, side) < 1e-6) side = V3{1, 0, 0};
        side = Unit(side);
        const V3 up = Unit(Cross(side, d));
        BoxAxes((a + b) * 0.5, {d * (std::sqrt(Dot(b - a, b - a)) / 2), side * w, up * h}, ramp, level);
    }
    void BoxAxes(V3 c, std::array<V3, 3> axes, Ramp ramp, int level) {
        Add({.kind = Part::Kind::Box, .a = c, .axes = axes}, ramp, level);
    }
    // A part in the model's current half, its shading biased by the model's bias.
    void Add(Part p, Ramp ramp, int level) {
        p.ramp = ramp;
        p.bias = level + bias;
        p.upper = upper;
        parts.push_back(p);
    }
    void Effect(Glow::Kind kind, V3 a, V3 b, double r, Ramp ramp, int seed = 0) {
        Glow g;
        g.kind = kind;
        g.a = a;
        g.b = b;
        g.r = r;
        g.ramp = ramp;
        g.seed = seed;
        glows.push_back(g);
    }
};

// ---- building a posed model ---------------------------------------------------------

struct Frame3 {
    V3 fwd, side, up;  // side points to the weapon's right
};

Frame3 FrameOf(V3 fwd) {
    fwd = Unit(fwd);
    V3 side = Cross(fwd, V3{0, 0, 1});
    if (Dot(side, side) < 1e-6) side = V3{1, 0, 0};
    side = Unit(side);
    return {fwd, side, Cross(side, fwd)};
}

// Draws a hand-held or mounted weapon at `at` pointing along `dir`; returns the muzzle.
V3 BuildWeapon(Model& m, const Design& d, Arm kind, V3 at, V3 dir, const Pose& pose, bool active) {
    const Frame3 f = FrameOf(dir);
    const double open = active ? std::max(0.0, -pose.swing) : 0.2;
    switch (kind) {
    case None: return at;
    case Gun:
        m.BoxAlong(at - f.fwd * 2, at + f.fwd * 6, 1.8, 2.0, d.trim);
        m.Rod(at + f.fwd * 6, at + f.fwd * 10, 0.9, d.joint, -1);
        m.Box(at + f.up * 2.2 + f.fwd * 1, {0.8, 0.8, 0.6}, d.joint);
        return at + f.fwd * 11;
    case Rifle:
        m.BoxAlong(at - f.fwd * 3, at + f.fwd * 6, 1.6, 2.0, d.trim);
        m.Rod(at + f.fwd * 6, at + f.fwd * 14, 0.75, d.joint, -1);
        m.Rod(at + f.up * 2.4, at + f.up * 2.4 + f.fwd * 4, 0.8, d.joint, 1);
        return at + f.fwd * 15;
    case Gatling: {
        m.Rod(at - f.fwd * 1, at + f.fwd * 6, 2.8, d.trim);
        const double spin = pose.frame * 0.9;
        for (int i = 0; i < 3; ++i) {
            const double a = spin + i * 2 * kPi / 3;
            const V3 off = f.side * (1.3 * std::cos(a)) + f.up * (1.3 * std::sin(a));
            m.Rod(at + f.fwd * 6 + off, at + f.fwd * 12 + off, 0.7, d.joint, -1);
        }
        m.Rod(at + f.fwd * 11.5, at + f.fwd * 12.5, 2.2, d.joint, -2);
        return at + f.fwd * 13;
    }
    case Cannon:
        m.Rod(at - f.fwd * 2, at + f.fwd * 10, 2.4, d.trim);
        m.Rod(at + f.fwd * 9, at + f.fwd * 12, 3.0, d.joint);
        m.Ball(at - f.fwd * 2, 3.2, d.joint);
        return at + f.fwd * 13;
    case Grenade:
        m.Rod(at - f.fwd * 2, at + f.fwd * 7, 2.6, d.trim);
        m.Rod(at + f.fwd * 6, at + f.fwd * 8, 3.0, d.joint, -1);
        return at + f.fwd * 9;
    case Flamer:
        m.Ball(at - f.fwd * 1 + f.up * 1, 3.0, Ramp::Red);
        m.Rod(at, at + f.fwd * 8, 1.1, d.joint);
        m.Rod(at + f.fwd * 7, at + f.fwd * 9, 1.7, d.trim);
        return at + f.fwd * 10;
    case Beam:
        m.BoxAlong(at - f.fwd * 2, at + f.fwd * 4, 2.0, 2.0, d.trim);
        m.Ball(at + f.fwd * 4.5, 1.8, d.eye, 4);
        return at + f.fwd * 6;
    case Claw: {
        m.Ball(at, 2.4, d.joint);
        const double spread = 1.0 + 2.5 * open;
        for (int s = -1; s <= 1; s += 2) {
            const V3 knuckle = at + f.fwd * 4 + f.side * (s * spread);
            m.Rod(at, knuckle, 1.2, d.trim);
            m.Rod(knuckle, at + f.fwd * 8 + f.side * (s * spread * 0.4), 0.9, d.trim, 2);
        }
        return at + f.fwd * 8;
    }
    case Stick:
        m.Rod(at - f.fwd * 2, at + f.fwd * 12, 0.9, d.joint, 2);
        m.Ball(at + f.fwd * 12, 1.3, d.eye, 3);
        return at + f.fwd * 12;
    case Saw: {
        m.Box(at, {1.8, 1.8, 1.8}, d.joint);
        m.BoxAlong(at, at + f.fwd * 11, 0.6, 2.2, Ramp::Steel, 2);
        for (int i = 0; i < 4; ++i) {
            const double t = 2.5 + i * 2.4 + (pose.frame % 2) * 1.2;
            m.Ball(at + f.fwd * t + f.up * 2.4, 0.7, d.trim);
        }
        return at + f.fwd * 11;
    }
    case Spike:
        m.Rod(at, at + f.fwd * 6, 1.7, d.trim);
        m.Rod(at + f.fwd * 6, at + f.fwd * 11, 0.8, d.eye, 3);
        return at + f.fwd * 11;
    case Pod: {
        m.Box(at, {2.6, 3.2, 2.4}, d.trim);
        for (int i = 0; i < 4; ++i) {
            const V3 off = f.side * ((i % 2) * 2.2 - 1.1) + f.up * ((i / 2) * 2.0 - 1.0);
            m.Ball(at + f.fwd * 3.1 + off, 0.8, Ramp::Steel, -6);
        }
        return at + f.fwd * 4;
    }
    case Hive: {
        m.Ball(at, 3.8, d.trim);
        for (int i = 0; i < 5; ++i) {
            const double a = i * 2 * kPi / 5 + pose.frame * 0.3;
            m.Ball(at + f.side * (2.6 * std::cos(a)) + f.fwd * (2.6 * std::sin(a)) + f.up * 2.4, 0.8, Ramp::Green, 5);
        }
        return at + f.up * 4;
    }
    }
    return at;
}

void BuildLegs(Model& m, const Design& d, const Pose& pose) {
    const V3 t = d.torso;
    const double hip = d.hipZ;
    m.upper = false;
    switch (d.legs) {
    case Legs::Biped:
    case Legs::Lizard: {
        for (int s = -1; s <= 1; s += 2) {
            const double phase = pose.walk + (s > 0 ? 0 : kPi);
            const double stride = 3.5 * std::sin(phase);
            const double lift = std::max(0.0, std::cos(phase)) * 2.0 * (pose.walk != 0 ? 1 : 0);
            const double spread = pose.guard ? 1.5 : 0.0;
            const V3 hipAt{s * (t.x * 0.6), 0, hip};
            const V3 foot{s * (t.x * 0.7 + 1 + spread), stride, lift};
            if (d.legs == Legs::Lizard) {
                const V3 knee{s * (t.x * 0.8 + 1), 4 + stride * 0.5, hip * 0.6 + lift};
                const V3 ankle{s * (t.x * 0.7 + 1), stride - 3, 3 + lift};
                m.Rod(hipAt, knee, 2.4, d.body, -1);
                m.Rod(knee, ankle, 1.6, d.body, -2);
                m.Rod(ankle, foot + V3{0, 1, 0}, 1.3, d.joint);
                m.BoxAlong(foot, foot + V3{0, 4, 0}, 1.6, 0.8, d.trim);
            } else {
                const V3 knee{s * (t.x * 0.7 + 0.5), 2 + stride * 0.5, hip * 0.5 + lift};
                m.Ball(hipAt, 2.6, d.joint);
                m.Rod(hipAt, knee, 2.2, d.joint);
                m.Rod(knee, foot + V3{0, 0, 1.5}, 2.0, d.body);
                m.Ball(knee, 2.4, d.trim);
                m.BoxAlong(foot + V3{0, -2, 0.9}, foot + V3{0, 4, 0.9}, 2.2, 1.0, d.trim, -1);
            }
        }
        if (d.legs == Legs::Lizard) {  // the tail sways with the steps
            const double sway = 2.5 * std::sin(pose.walk);
            const V3 base{0, -t.y, hip + 1};
            const V3 mid{sway * 0.5, -t.y - 7, hip * 0.5};
            const V3 tip{sway, -t.y - 14, 1.5};
            m.Rod(base, mid, 2.3, d.body);
            m.Rod(mid, tip, 1.3, d.body, -1);
        }
        return;
    }
    case Legs::Spider: {
        for (int i = 0; i < 4; ++i) {
            const int sx = (i % 2) ? 1 : -1, sy = (i / 2) ? 1 : -1;
            const double phase = pose.walk + ((i == 0 || i == 3) ? 0 : kPi);
            const double step = 2.5 * std::sin(phase);
            const double lift = std::max(0.0, std::cos(phase)) * 2.0 * (pose.walk != 0 ? 1 : 0);
            const V3 hipAt{sx * t.x * 0.8, sy * t.y * 0.6, hip};
            const V3 knee{sx * (t.x + 5), sy * (t.y + 3) + step * 0.5, hip + 4 + lift};
            const V3 foot{sx * (t.x + 7), sy * (t.y + 6) + step, lift};
            m.Rod(hipAt, knee, 1.7, d.trim);
            m.Rod(knee, foot, 1.2, d.joint, 1);
            m.Ball(knee, 1.6, d.body);
        }
        return;
    }
    case Legs::Treads: {
        for (int s = -1; s <= 1; s += 2) {
            const double x = s * (t.x + 1.5);
            m.Box({x, 0, 3}, {2.6, t.y + 3, 3}, d.joint, -3);
            for (int k = 0; k < 3; ++k) m.Ball({x + s * 2.4, -6.0 + 6 * k, 3}, 2.0, Ramp::Steel, -1);
            const double shift = std::fmod(pose.frame * 1.3, 3.0);
            for (int k = 0; k < 5; ++k) {
                const double y = -t.y - 1.5 + k * 3.0 + shift;
                m.Box({x, y, 6.1}, {2.4, 0.5, 0.3}, Ramp::Steel, -4);
            }
        }
        return;
    }
    case Legs::Hover: {
        m.Box({0, 0, hip - 4 + pose.bob}, {t.x + 1, t.y + 1, 1.6}, d.trim, -1);
        m.Ball({0, 0, hip - 6 + pose.bob}, 3.0, d.eye, 5);
        return;
    }
    }
}

void BuildHead(Model& m, const Design& d, V3 neck, const Pose& pose) {
    const int glow = pose.guard ? 6 : 4;
    switch (d.head) {
    case HeadShape::Dome:
        m.Ball(neck + V3{0, 0, 3}, 4.2, d.body, 1);
        m.Box(neck + V3{0, 3.4, 3.2}, {2.6, 0.6, 0.9}, d.eye, glow);
        return;
    case HeadShape::Visor:
        m.Box(neck + V3{0, 0.5, 2.6}, {3.0, 3.0, 2.4}, d.body, 1);
        m.Box(neck + V3{0, 3.6, 3.0}, {2.4, 0.4, 0.8}, d.eye, glow);
        m.Rod(neck + V3{2, -1, 4.5}, neck + V3{2.6, -2.2, 9}, 0.4, d.joint, 2);
        return;
    case HeadShape::Snout:
        m.Box(neck + V3{0, 2.5, 2.2}, {2.6, 4.5, 2.0}, d.body, 1);
        m.Box(neck + V3{0, 6.5, 1.3}, {2.0, 1.2, 1.2}, d.trim);
        for (int s = -1; s <= 1; s += 2) m.Ball(neck + V3{s * 2.5, 3.5, 3.4}, 0.9, d.eye, glow);
        return;
    case HeadShape::Sensor:
        m.Rod(neck, neck + V3{0, 0, 4}, 1.0, d.joint);
        m.Ball(neck + V3{0, 0.5, 5}, 3.0, d.trim);
        m.Ball(neck + V3{0, 2.8, 5.2}, 1.4, d.eye, glow);
        return;
    case HeadShape::Hatch:
        m.Box(neck + V3{0, -0.5, 1.5}, {4.0, 3.5, 1.5}, d.trim);
        m.Box(neck + V3{0, 2.9, 1.7}, {2.8, 0.4, 0.6}, d.eye, glow);
        return;
    }
}

Model BuildRobot(const Design& d, const Pose& pose) {
    Model m;
    m.bias = pose.blink > 0 ? 3 : 0;
    BuildLegs(m, d, pose);
    m.upper = true;

    const V3 t = d.torso;
    const double lift = d.legs == Legs::Hover ? pose.bob : pose.bob * 0.5;
    const V3 centre{0, -pose.recoil * 0.25, d.hipZ + t.z + lift};
    m.Box(centre, t, d.body);
    m.Box(centre + V3{0, t.y, 0.5}, {t.x * 0.6, 0.8, t.z * 0.6}, d.trim);   // chest plate
    m.Box(centre + V3{0, 0, t.z}, {t.x * 0.7, t.y * 0.7, 0.8}, d.body, 2);  // top deck
    const V3 neck = centre + V3{0, t.y * 0.2, t.z};
    BuildHead(m, d, neck, pose);

    const V3 shoulderL = centre + V3{-(t.x + 1.5), 0, t.z - 2};
    const V3 shoulderR = centre + V3{t.x + 1.5, 0, t.z - 2};
    m.Ball(shoulderL, 2.8, d.trim);
    m.Ball(shoulderR, 2.8, d.trim);

    // Arms: each hand holds its slot's weapon, or hangs empty.
    for (int s = -1; s <= 1; s += 2) {
        const Mount mount = s > 0 ? RightHand : LeftHand;
        int slot = -1;
        for (int i = 0; i < 4; ++i)
            if (d.weapons[size_t(i)].kind != None && d.weapons[size_t(i)].mount == mount) slot = i;
        const bool active = slot >= 0 && slot == pose.active;
        const V3 shoulder = s > 0 ? shoulderR : shoulderL;
        V3 hand = shoulder + V3{s * 0.8, 3.5, -6.5};
        V3 dir{s * 0.3, 1, -0.3};  // angled out, so the weapons show from the front too
        if (pose.walk != 0) hand.y += -1.5 * std::sin(pose.walk + (s > 0 ? kPi : 0));
        if (pose.guard) {
            hand = centre + V3{-s * 1.0, t.y + 4, t.z + 1};
            dir = V3{s * 0.5, 0.3, 1.0};
        } else if (active) {
            const Arm kind = d.weapons[size_t(slot)].kind;
            if (IsMelee(kind)) {
                const double a = pose.swing * 0.9;  // wound out to the side, then across
                hand = shoulder + V3{s * (2.5 - 2.0 * pose.swing), 5.0 + 1.5 * std::cos(a), -2.5};
                dir = V3{s * -std::sin(a) * 1.2, std::cos(a), 0.05};
            } else {
                hand = Lerp(hand, shoulder + V3{s * 0.3, 7.5 - pose.recoil, -1.5}, pose.aim);
                dir = Unit(Lerp(dir, V3{0, 1, 0.05}, pose.aim));
            }
        }
        const V3 elbow = Lerp(shoulder, hand, 0.5) + V3{s * 2.0, -1.0, 0};
        m.Rod(shoulder, elbow, 1.7, d.joint);
        m.Rod(elbow, hand, 1.9, d.body, -1);
        if (slot < 0) {
            m.Ball(hand, 2.0, d.joint);
            continue;
        }
        const Arm kind = d.weapons[size_t(slot)].kind;
        const V3 muzzle = BuildWeapon(m, d, kind, hand, dir, pose, active);
        if (active && pose.flash > 0) {
            if (IsMelee(kind))
                m.Effect(Glow::Kind::Spark, muzzle, hand, 3.5 * pose.flash, d.eye, pose.frame);
            else if (kind == Flamer)
                m.Effect(Glow::Kind::Beam, muzzle, muzzle + Unit(dir) * (8 * pose.flash), 2.2, Ramp::Fire);
            else
                m.Effect(Glow::Kind::Star, muzzle, muzzle, 2.0 + 3.0 * pose.flash, Ramp::Fire, pose.frame);
        }
    }

    // Weapons on the shoulders, back and head.
    for (int i = 0; i < 4; ++i) {
        const WeaponSpec& w = d.weapons[size_t(i)];
        if (w.kind == None || w.mount == RightHand || w.mount == LeftHand) continue;
        const bool active = i == pose.active;
        V3 at, dir{0, 1, 0};
        switch (w.mount) {
        case RightShoulder: at = shoulderR + V3{1.0, -0.5, 3.5}; break;
        case LeftShoulder: at = shoulderL + V3{-1.0, -0.5, 3.5}; break;
        case Head: at = neck + V3{0, 1.5, 5.5}; break;
        default:
            at = centre + V3{0, -t.y - 2, t.z + 2};
            dir = V3{0, 0.35, 1};
            break;
        }
        if (active) at = at - Unit(dir) * pose.recoil * 0.6;
        const V3 muzzle = BuildWeapon(m, d, w.kind, at, dir, pose, active);
        if (!active || pose.flash <= 0) {
            if (active && pose.smoke > 0)
                m.Ball(muzzle + Unit(dir) * (3 + 6 * pose.smoke) + V3{0, 0, 4 * pose.smoke}, 1.5 + 2.5 * pose.smoke,
                       Ramp::Steel, 3);
            continue;
        }
        if (w.kind == Beam)
            m.Effect(Glow::Kind::Beam, muzzle, muzzle + Unit(dir) * (22 * pose.flash), 1.0 + 0.6 * pose.flash, d.eye);
        else if (w.kind == Flamer)
            m.Effect(Glow::Kind::Beam, muzzle, muzzle + Unit(dir) * (8 * pose.flash), 2.2, Ramp::Fire);
        else
            m.Effect(Glow::Kind::Star, muzzle, muzzle, 2.5 + 3.0 * pose.flash, Ramp::Fire, pose.frame);
    }

    if (pose.guard) m.Effect(Glow::Kind::Shield, centre + V3{0, t.y + 8, 0}, {}, 15 + pose.flash, Ramp::Teal);
    if (pose.sparks > 0) {
        for (int k = 0; k < 3; ++k) {
            const double a = pose.frame * 2.1 + k * 2.3;
            m.Effect(Glow::Kind::Spark, centre + V3{6 * std::cos(a), 4, 3 * std::sin(a * 1.7) + 2}, {},
                     2.5 + 3 * pose.sparks, Ramp::Fire, pose.frame * 3 + k);
        }
    }
    return m;
}

// ---- the camera ---------------------------------------------------------------------

// Elevated view from the south: screen x is world x, screen up mixes north and height.
constexpr double kSinE = 0.766, kCosE = 0.643;  // 50 degrees above the horizon

struct Camera {
    double yawSin, yawCos;  // facing: 0 north, clockwise
    double tilt;            // hit lean
    double hipZ;
    double shake;
    Pt ground;
    double scale;

    V3 Lean(V3 p, bool upper) const {
        if (!upper || tilt == 0) return p;
        const double c = std::cos(tilt), s = std::sin(tilt);
        const double y = p.y, z = p.z - hipZ;
        return {p.x, y * c - z * s, hipZ + y * s + z * c};
    }
    // Local (right, forward, up) to world.
    V3 World(V3 p, bool upper) const {
        p = Lean(p, upper);
        return {p.x * yawCos + p.y * yawSin + shake, -p.x * yawSin + p.y * yawCos, p.z};
    }
    V3 WorldDir(V3 v, bool upper) const { return World(v, upper) - World(V3{}, upper); }
    Pt Screen(V3 w) const { return {ground.x + w.x * scale, ground.y - (w.y * kSinE + w.z * kCosE) * scale}; }
    static double Depth(V3 w) { return w.y * kCosE - w.z * kSinE; }
    // World normal to camera space (x right, y down, z toward the viewer).
    static V3 CameraNormal(V3 n) { return {n.x, -(n.y * kSinE + n.z * kCosE), -n.y * kCosE + n.z * kSinE}; }
};

const V3 kLight = Unit(V3{-0.5, -0.75, 0.6});  // camera space: from the upper left, in front

int LitLevel(V3 cameraNormal, int bias) {
    const double diffuse = std::max(0.0, Dot(Unit(cameraNormal), kLight));
    return int(3.0 + 10.5 * diffuse) + bias;
}

void DrawPart(Image& image, const Part& p, const Camera& cam) {
    const uint8_t rim = Shade(p.ramp, 1 + p.bias / 2);
    switch (p.kind) {
    case Part::Kind::Ball: {
        const Pt c = cam.Screen(cam.World(p.a, p.upper));
        const double r = std::max(p.r * cam.scale, 0.7);
        Paint(image, Shape::Circle(c, r), [&](int x, int y, bool onRim) {
            if (onRim) return rim;
            const double nx = (x + 0.5 - c.x) / r, ny = (y + 0.5 - c.y) / r;
            const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
            return Shade(p.ramp, LitLevel({nx, ny, nz}, p.bias));
        });
        return;
    }
    case Part::Kind::Rod: {
        const Pt a = cam.Screen(cam.World(p.a, p.upper)), b = cam.Screen(cam.World(p.b, p.upper));
        const double r = std::max(p.r * cam.scale, 0.7);
        double ax = b.x - a.x, ay = b.y - a.y;
        const double len = std::hypot(ax, ay);
        if (len > 1e-6) {
            ax /= len;
            ay /= len;
        } else {
            ax = 1;
            ay = 0;
        }
        Paint(image, Shape::Capsule(a, b, r), [&](int x, int y, bool onRim) {
            if (onRim) return rim;
            const double px = x + 0.5 - a.x, py = y + 0.5 - a.y;
            const double s = std::clamp((px * -ay + py * ax) / r, -1.0, 1.0);
            return Shade(p.ramp, LitLevel({-ay * s, ax * s, std::sqrt(1 - s * s)}, p.bias));
        });
        return;
    }
    case Part::Kind::Box: {
        const V3 c = cam.World(p.a, p.upper);
        std::array<V3, 3> ax;
        for (size_t i = 0; i < 3; ++i) ax[i] = cam.WorldDir(p.axes[i], p.upper);
        Shape faces[3];
        int levels[3];
        int n = 0;
        for (size_t i = 0; i < 3; ++i) {
            for (int sign = -1; sign <= 1; sign += 2) {
                const V3 normal = Unit(ax[i] * sign);
                const V3 cn = Camera::CameraNormal(normal);
                if (cn.z <= 1e-4 || n == 3) continue;
                const V3 fc = c + ax[i] * sign;
                const V3 u = ax[(i + 1) % 3], v = ax[(i + 2) % 3];
                faces[n] = Shape::Polygon(
                    {cam.Screen(fc + u + v), cam.Screen(fc + u - v), cam.Screen(fc - u - v), cam.Screen(fc - u + v)});
                levels[n] = LitLevel(cn, p.bias);
                ++n;
            }
        }
        PaintUnion(image, std::span<const Shape>(faces, size_t(n)),
                   UnionInk([&](int, int, bool onRim, int face) { return onRim ? rim : Shade(p.ramp, levels[face]); }));
        return;
    }
    }
}

// A star of `points` spikes with a hot centre.
void DrawStar(Image& image, Pt c, double r, Ramp ramp, int seed, int points) {
    std::vector<Shape> spikes;
    const double turn = seed * 0.7;
    for (int i = 0; i < points; ++i) {
        const double a = turn + i * 2 * kPi / points;
        const double len = r * ((i + seed) % 2 ? 1.0 : 0.6);
        const double w = r * 0.28;
        spikes.push_back(Shape::Polygon({{c.x + std::cos(a) * len, c.y + std::sin(a) * len},
                                         {c.x + std::cos(a + kPi / 2) * w, c.y + std::sin(a + kPi / 2) * w},
                                         {c.x - std::cos(a) * w, c.y - std::sin(a) * w},
                                         {c.x + std::cos(a - kPi / 2) * w, c.y + std::sin(a - kPi / 2) * w}}));
    }
    spikes.push_back(Shape::Circle(c, r * 0.45));
    PaintUnion(image, spikes, [&](int x, int y, bool onRim) {
        const double dist = std::hypot(x + 0.5 - c.x, y + 0.5 - c.y) / r;
        return Shade(ramp, int(15.5 - 7 * dist) - (onRim ? 2 : 0));
    });
}

void DrawGlow(Image& image, const Glow& g, const Camera& cam) {
    const Pt a = cam.Screen(cam.World(g.a, true));
    const double r = g.r * cam.scale;
    switch (g.kind) {
    case Glow::Kind::Star: DrawStar(image, a, r, g.ramp, g.seed, 8); return;
    case Glow::Kind::Spark: DrawStar(image, a, r, g.ramp, g.seed, 4); return;
    case Glow::Kind::Beam: {
        const Pt b = cam.Screen(cam.World(g.b, true));
        Fill(image, Shape::Capsule(a, b, r * 1.6), Shade(g.ramp, 11), Shade(g.ramp, 9));
        Fill(image, Shape::Capsule(a, b, std::max(r * 0.6, 0.6)), Shade(g.ramp, 15));
        return;
    }
    case Glow::Kind::Shield: {
        // A disc facing the robot's front, dithered so the robot shows through.
        // Screen axes of the disc: the robot's right and straight up.
        const V3 right = cam.WorldDir({1, 0, 0}, true);
        double ux = right.x;
        const double uy = -right.y * kSinE;
        if (std::fabs(ux) < 0.2) ux = ux < 0 ? -0.2 : 0.2;
        const double vx = 0, vy = -kCosE;
        const double det = ux * vy - uy * vx;
        for (int y = int(a.y - r); y <= int(a.y + r); ++y) {
            for (int x = int(a.x - r); x <= int(a.x + r); ++x) {
                const double px = (x + 0.5 - a.x) / r, py = (y + 0.5 - a.y) / r;
                const double s = (px * vy - py * vx) / det, t = (ux * py - uy * px) / det;
                const double d2 = s * s + t * t;
                if (d2 > 1) continue;
                const bool edge = d2 > 0.72;
                if (edge ? ((x + y) % 2 == 0) : ((x % 3 == 0) && (y % 3 == 0)))
                    image.Set(x, y, Shade(g.ramp, edge ? 13 : 11));
            }
        }
        return;
    }
    }
}

}  // namespace

Ramp RobotBodyRamp(int robot) { return kDesigns[size_t(std::clamp(robot, 0, kRobotCount - 1))].body; }
Ramp RobotTrimRamp(int robot) { return kDesigns[size_t(std::clamp(robot, 0, kRobotCount - 1))].trim; }

void DrawRobot(Image& image, int robot, View view, int motion, int frame, Pt ground, double scale, bool shadow) {
    const Design& d = kDesigns[size_t(std::clamp(robot, 0, kRobotCount - 1))];
    const Pose pose = MakePose(d, motion, std::clamp(frame, 0, 9));
    const Model model = BuildRobot(d, pose);

    static constexpr double kYaw[5] = {0, 45, 180, 135, 90};  // Back, BackSide, Front, FrontSide, Side
    const double yaw = kYaw[size_t(view)] * kPi / 180;
    const Camera cam{std::sin(yaw), std::cos(yaw), pose.tilt, d.hipZ, pose.shake, ground, scale};

    // Solid parts far to near, then the outline, the shadow and the glowing effects.
    Image layer(image.width, image.height, kMagentaIndex);
    std::vector<std::pair<double, size_t>> order;
    for (size_t i = 0; i < model.parts.size(); ++i) {
        const Part& p = model.parts[i];
        const V3 centre = p.kind == Part::Kind::Rod ? (p.a + p.b) * 0.5 : p.a;
        order.emplace_back(Camera::Depth(cam.World(centre, p.upper)), i);
    }
    std::stable_sort(order.begin(), order.end(), [](const auto& x, const auto& y) { return x.first > y.first; });
    for (const auto& [depth, i] : order) DrawPart(layer, model.parts[i], cam);
    OutlineAround(layer, kMagentaIndex, Shade(Ramp::Steel, 0));
    if (shadow) {
        const double rx = (std::max(d.torso.x, d.torso.y) + 5) * scale;
        const Pt c = cam.Screen({0, 0, 0});
        Paint(layer, Shape::Ellipse(c, rx, rx * kSinE * 0.8), [&](int x, int y, bool) {
            const uint8_t old = layer.Get(x, y);
            return old == kMagentaIndex && (x + y) % 2 == 0 ? Shade(Ramp::Brown, 1) : old;
        });
    }
    // A shield on the far side of the robot shows only around it.
    const double bodyDepth = Camera::Depth(cam.World({0, 0, d.hipZ}, true));
    for (const Glow& g : model.glows) {
        if (g.kind == Glow::Kind::Shield && Camera::Depth(cam.World(g.a, true)) > bodyDepth) {
            Image shield(layer.width, layer.height, kMagentaIndex);
            DrawGlow(shield, g, cam);
            for (size_t i = 0; i < layer.pixels.size(); ++i)
                if (layer.pixels[i] == kMagentaIndex) layer.pixels[i] = shield.pixels[i];
        } else {
            DrawGlow(layer, g, cam);
        }
    }
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (const uint8_t c = layer.Get(x, y); c != kMagentaIndex) image.Set(x, y, c);
}

}  // namespace assetgen
