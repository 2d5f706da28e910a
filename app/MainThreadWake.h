#pragma once

namespace vzt {

// Makes the calling thread the main thread and runs the calls other threads post to it
// (the refresher's passes) in Qt's event loop.
void RunMainThreadCallsInEventLoop();

// Back to draining by hand; for the end of the program.
void StopMainThreadWake();

}  // namespace vzt
