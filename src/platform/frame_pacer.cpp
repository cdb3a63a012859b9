#include "platform/frame_pacer.h"

namespace dw {

FramePacer::Plan FramePacer::Next(uint64_t now, bool vsyncAvailable, int refreshHz, int frameWaitMs) {
    if (vsyncAvailable && frameWaitMs <= 0 && refreshHz >= 59 && refreshHz <= 61) {
        scheduled_ = false;
        return {true, now};
    }
    due_ += frequency_ * uint64_t(1000 + 60 * frameWaitMs) / 60000;
    if (!scheduled_ || now > due_ + frequency_ / kStallsPerSecond) due_ = now;
    scheduled_ = true;
    return {false, due_ > now ? due_ : now};
}

}  // namespace dw
