// The frame rate the pacing gives on monitors of every kind, with a stand-in clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/frame_pacer.h"

namespace dw {
namespace {

constexpr uint64_t kSecond = 6'000'000'000;  // a clock whose 1/60 s is a whole number of ticks
constexpr uint64_t kMs = kSecond / 1000;

struct Monitor {
    int refreshHz;
    bool vsync;  // the renderer can wait for the refresh
    int presentMs;
};

// When each frame reached the screen over six seconds, in seconds. A frame's own work takes
// 1 ms, its present `presentMs` more; a present with vsync then waits for the next refresh.
// Half a second into the fourth second the game stalls for 500 ms once, when asked.
std::vector<double> ShownAt(const Monitor& m, int frameWaitMs, bool stall = false) {
    FramePacer pacer(kSecond);
    const uint64_t refresh = kSecond / uint64_t(m.refreshHz);
    std::vector<double> shown;
    bool stalled = false;
    for (uint64_t now = 0; now < 6 * kSecond;) {
        now += kMs;
        if (stall && !stalled && now > 3 * kSecond + kSecond / 2) {
            now += 500 * kMs;
            stalled = true;
        }
        const FramePacer::Plan plan = pacer.Next(now, m.vsync, m.refreshHz, frameWaitMs);
        EXPECT_GE(plan.presentAt, now);
        now = std::max(now, plan.presentAt) + uint64_t(m.presentMs) * kMs;
        if (plan.vsync) now = (now / refresh + 1) * refresh;
        shown.push_back(double(now) / double(kSecond));
    }
    return shown;
}

// Frames shown a second between one second and three seconds in.
double Rate(const std::vector<double>& shown) {
    return double(std::count_if(shown.begin(), shown.end(), [](double t) { return t >= 1 && t < 3; })) / 2;
}

TEST(FramePacer, SixtyFramesASecondOnEveryMonitorHoweverLongAPresentTakes) {
    for (int hz : {60, 75, 144})
        for (bool vsync : {false, true}) {
            for (int presentMs : {0, 5}) {
                SCOPED_TRACE(testing::Message() << hz << " Hz, vsync " << vsync << ", present " << presentMs << " ms");
                EXPECT_NEAR(Rate(ShownAt({hz, vsync, presentMs}, 0)), 60, 0.5);
                // The frame wait stretches every frame by its milliseconds: 1000 / 26.7.
                EXPECT_NEAR(Rate(ShownAt({hz, vsync, presentMs}, 10)), 37.5, 0.5);
            }
            // A present slower than a frame: as fast as it allows, never faster than 60.
            const double slow = Rate(ShownAt({hz, vsync, 20}, 0));
            EXPECT_LE(slow, 60);
            EXPECT_GE(slow, 30);
        }
}

TEST(FramePacer, VsyncOnlyOnADisplayOfAboutSixtyHertzAndWithoutAFrameWait) {
    const struct {
        int refreshHz;
        bool vsync;
        int frameWaitMs;
        bool usesVsync;
    } rows[] = {
        {.refreshHz = 60, .vsync = true, .frameWaitMs = 0, .usesVsync = true},
        {.refreshHz = 59, .vsync = true, .frameWaitMs = 0, .usesVsync = true},
        {.refreshHz = 61, .vsync = true, .frameWaitMs = 0, .usesVsync = true},
        {.refreshHz = 58, .vsync = true, .frameWaitMs = 0, .usesVsync = false},
        {.refreshHz = 62, .vsync = true, .frameWaitMs = 0, .usesVsync = false},
        {.refreshHz = 0, .vsync = true, .frameWaitMs = 0, .usesVsync = false},
        {.refreshHz = 60, .vsync = false, .frameWaitMs = 0, .usesVsync = false},
        {.refreshHz = 60, .vsync = true, .frameWaitMs = 1, .usesVsync = false},
    };
    for (const auto& r : rows) {
        FramePacer pacer(kSecond);
        EXPECT_EQ(pacer.Next(kSecond, r.vsync, r.refreshHz, r.frameWaitMs).vsync, r.usesVsync)
            << r.refreshHz << " Hz, vsync " << r.vsync << ", frame wait " << r.frameWaitMs;
    }
}

TEST(FramePacer, AfterAStallANewScheduleWithoutHurriedFrames) {
    for (const Monitor m : {Monitor{144, true, 5}, Monitor{60, false, 5}, Monitor{60, true, 0}}) {
        SCOPED_TRACE(testing::Message() << m.refreshHz << " Hz, vsync " << m.vsync);
        const std::vector<double> shown = ShownAt(m, 0, true);
        const auto gap = std::adjacent_find(shown.begin(), shown.end(), [](double a, double b) { return b - a > 0.4; });
        ASSERT_NE(gap, shown.end()) << "no stall";
        double shortest = 1;
        for (auto it = gap + 1; it + 1 != shown.end(); ++it) shortest = std::min(shortest, it[1] - it[0]);
        EXPECT_GT(shortest, 0.0166);
    }
    // A frame late by less than the stall limit is made up by the frames after it.
    FramePacer pacer(kSecond);
    pacer.Next(0, false, 60, 0);
    EXPECT_EQ(pacer.Next(40 * kMs, false, 60, 0).presentAt, 40 * kMs);
    EXPECT_EQ(pacer.Next(41 * kMs, false, 60, 0).presentAt, 41 * kMs);
    EXPECT_EQ(pacer.Next(42 * kMs, false, 60, 0).presentAt, 50 * kMs);
    // A frame late by exactly the limit keeps the schedule: the frame after it is behind too.
    const uint64_t onLimit = 4 * kSecond / 60 + 50 * kMs;
    EXPECT_EQ(pacer.Next(onLimit, false, 60, 0).presentAt, onLimit);
    EXPECT_EQ(pacer.Next(onLimit + kMs, false, 60, 0).presentAt, onLimit + kMs);
}

}  // namespace
}  // namespace dw
