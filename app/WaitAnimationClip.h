#pragma once

#include <QImage>
#include <vector>

namespace vzt {

// The program's animation for the wait window: a computer sending data along a cable to
// the controller, whose lamp lights when the data arrives. Frames of 120 x 32 pixels in the
// 16 standard colours, 200 ms each, played in a loop.
inline constexpr int kWaitClipFrames = 9;
inline constexpr int kWaitClipWidth = 120;
inline constexpr int kWaitClipHeight = 32;
inline constexpr int kWaitClipFrameMs = 200;

std::vector<QImage> WaitAnimationFrames();

}  // namespace vzt
