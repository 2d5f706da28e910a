#pragma once

#include <cstdint>

namespace vzt {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;

// Window messages in the application range.
inline constexpr unsigned MSG_END_RESIZING = 0x8176;
inline constexpr unsigned MSG_START_RESIZING = 0x8177;
inline constexpr unsigned MSG_PACKET_ARRIVED = 0x8178;
inline constexpr unsigned MSG_DATA_CHANGED = 0x8173;
inline constexpr unsigned MSG_COM_ERROR = 0x8179;
inline constexpr unsigned MSG_LINK_STATE = 0x8190;
inline constexpr unsigned MSG_LINK_PROGRESS = 0x8191;

// A component that accepts window messages. Delivery is a direct, synchronous call.
class MessageTarget {
 public:
  virtual LParam Perform(unsigned msg, WParam wparam, LParam lparam) = 0;

 protected:
  ~MessageTarget() = default;
};

template <class T>
WParam AsWParam(T* p) {
  return reinterpret_cast<WParam>(p);
}

}  // namespace vzt
