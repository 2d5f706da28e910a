#pragma once

#include "components/comm/SerialLink.h"

namespace vzt {

// Bits of the status word that GetStatus reports for the last transfer; 0 after a transfer
// that succeeded. LINK_STATUS_NOT_DEFINED (4) comes from the link interface.
inline constexpr int LINK_STATUS_TIMEOUT = 0x01;       // no reply within the time-out
inline constexpr int LINK_STATUS_FRAMING = 0x02;       // damaged or malformed replies
inline constexpr int LINK_STATUS_REFUSED = 0x08;       // the controller refused the request
inline constexpr int LINK_STATUS_NOT_OPEN = 0x10;      // no port, or no open session
inline constexpr int LINK_STATUS_DEVICE_LOST = 0x20;   // the device went away
inline constexpr int LINK_STATUS_BAD_ARGUMENT = 0x40;  // the caller's argument; nothing sent

}  // namespace vzt
