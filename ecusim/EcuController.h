#pragma once

#include <cstdint>
#include <functional>

#include "ecusim/EcuIdentity.h"
#include "ecusim/EcuMemory.h"
#include "serlink/WireFrame.h"
#include "serlink/WireMessages.h"

namespace vzt {

// The controller's side of the protocol: answers each request from its identity, its
// configuration memory and the engine model. Memory and live data need an open session.
class EcuController {
 public:
  EcuController(EcuIdentity identity, EcuMemory& memory);

  void SetRefuseSessions(bool refuse) { refuse_sessions_ = refuse; }
  // Called after every change of the memory, e.g. to save it.
  void SetMemoryListener(std::function<void()> listener) { on_change_ = std::move(listener); }

  // The reply to a request received ms milliseconds after the simulator started.
  WireFrame Handle(const WireFrame& request, std::uint64_t ms);
  // Lets time pass: the default position is acquired after a while of running.
  void Tick(std::uint64_t ms);

  bool SessionOpen() const { return session_open_; }
  std::uint32_t CommandRegister() const { return command_register_; }

 private:
  wire::Bytes Answer(const WireFrame& request, std::uint64_t ms);
  wire::Bytes OpenSession();
  wire::Bytes ReadAddress(wire::ByteView payload) const;
  wire::Bytes WriteAddress(wire::ByteView payload, std::uint64_t ms);
  wire::Bytes ReadCode(wire::ByteView payload) const;
  wire::Bytes WriteCode(wire::ByteView payload);
  wire::Bytes ReadPacket(wire::ByteView payload, std::uint64_t ms) const;
  void Erase(std::uint64_t ms);
  void Changed();

  EcuIdentity identity_;
  EcuMemory& memory_;
  std::function<void()> on_change_;
  bool refuse_sessions_ = false;
  bool session_open_ = false;
  // The value reached by request code 0 (the reprogramming command).
  std::uint32_t command_register_ = 0;
  std::uint64_t acquire_default_at_ms_;
  bool default_pending_ = true;
};

}  // namespace vzt
