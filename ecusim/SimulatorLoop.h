#pragma once

#include <csignal>
#include <cstdint>
#include <functional>

#include "ecusim/EcuController.h"
#include "ecusim/LineFaults.h"
#include "ecusim/SimulatorOptions.h"
#include "serlink/FrameDecoder.h"

namespace vzt {

// Reads requests from the controller's end of the line, lets the controller answer them
// and sends the replies with the line's timing and faults. One request at a time, like the
// controller itself.
class SimulatorLoop {
 public:
  enum class End { kStopped, kUnplugged, kLineError };

  SimulatorLoop(const SimulatorOptions& options, EcuController& controller, int fd);

  // Runs until stop becomes nonzero, the unplug time comes, or the line fails.
  End Run(const volatile std::sig_atomic_t& stop);

 private:
  std::uint64_t NowNs() const;
  std::uint64_t ElapsedMs() const { return (NowNs() - start_ns_) / 1000000; }
  int PollTimeoutMs() const;
  bool UnplugDue() const;
  void ReadRequests(const volatile std::sig_atomic_t& stop);
  void Serve(const WireFrame& request, std::uint64_t received_ns,
             const volatile std::sig_atomic_t& stop);
  // Sends the reply as the wire would deliver it: each byte complete one byte time after
  // the previous one, starting after the request's own wire time and the turnaround.
  void Send(const std::vector<std::uint8_t>& bytes, std::uint64_t start_ns,
            const volatile std::sig_atomic_t& stop);
  std::uint64_t WireNs(std::size_t bytes) const;

  const SimulatorOptions& options_;
  EcuController& controller_;
  int fd_;
  LineFaults faults_;
  FrameDecoder decoder_;
  std::uint64_t start_ns_;
  bool line_failed_ = false;
};

}  // namespace vzt
