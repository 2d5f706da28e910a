#include "ecusim/SimulatorLoop.h"

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "serlink/WireFrame.h"

namespace vzt {

namespace {

// The longest the loop sleeps without looking at the clock (default position, unplug).
constexpr int kTickMs = 50;

bool SleepUntil(std::uint64_t deadline_ns, const volatile std::sig_atomic_t& stop) {
  timespec at{static_cast<time_t>(deadline_ns / 1000000000),
              static_cast<long>(deadline_ns % 1000000000)};
  while (!stop) {
    const int rc = ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr);
    if (rc == 0) return true;
    if (rc != EINTR) return false;
  }
  return false;
}

}  // namespace

SimulatorLoop::SimulatorLoop(const SimulatorOptions& options, EcuController& controller, int fd)
    : options_(options),
      controller_(controller),
      fd_(fd),
      faults_(options.drop_rate, options.corrupt_rate, options.seed),
      start_ns_(NowNs()) {}

std::uint64_t SimulatorLoop::NowNs() const {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000u +
         static_cast<std::uint64_t>(ts.tv_nsec);
}

bool SimulatorLoop::UnplugDue() const {
  return options_.unplug_after_ms >= 0 &&
         ElapsedMs() >= static_cast<std::uint64_t>(options_.unplug_after_ms);
}

int SimulatorLoop::PollTimeoutMs() const {
  if (options_.unplug_after_ms < 0) return kTickMs;
  const auto due = static_cast<std::uint64_t>(options_.unplug_after_ms);
  const std::uint64_t now = ElapsedMs();
  return now >= due ? 0 : static_cast<int>(std::min<std::uint64_t>(due - now, kTickMs));
}

SimulatorLoop::End SimulatorLoop::Run(const volatile std::sig_atomic_t& stop) {
  while (!stop) {
    if (UnplugDue()) return End::kUnplugged;
    controller_.Tick(ElapsedMs());
    pollfd p{fd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, PollTimeoutMs());
    if (ready < 0 && errno != EINTR) return End::kLineError;
    if (ready > 0 && (p.revents & (POLLERR | POLLNVAL))) return End::kLineError;
    if (ready > 0 && (p.revents & POLLIN)) ReadRequests(stop);
    if (line_failed_) return End::kLineError;
  }
  return End::kStopped;
}

void SimulatorLoop::ReadRequests(const volatile std::sig_atomic_t& stop) {
  std::array<std::uint8_t, 512> chunk{};
  const ssize_t n = ::read(fd_, chunk.data(), chunk.size());
  if (n <= 0) {
    if (n < 0 && errno != EAGAIN && errno != EINTR) line_failed_ = true;
    return;
  }
  const std::uint64_t received_ns = NowNs();
  for (DecodeEvent& event : decoder_.Feed(std::span(chunk).first(static_cast<std::size_t>(n)))) {
    if (event.kind == DecodeEvent::kFrame) Serve(event.frame, received_ns, stop);
  }
}

void SimulatorLoop::Serve(const WireFrame& request, std::uint64_t received_ns,
                          const volatile std::sig_atomic_t& stop) {
  if (options_.silent || faults_.DropFrame()) return;
  const WireFrame reply = controller_.Handle(request, ElapsedMs());
  std::vector<std::uint8_t> bytes = EncodeFrame(reply);
  if (faults_.DropFrame()) return;
  faults_.MaybeCorrupt(bytes);
  const std::uint64_t request_end = received_ns + WireNs(EncodedFrameSize(request.payload.size()));
  Send(bytes, request_end + static_cast<std::uint64_t>(options_.turnaround_ms) * 1000000u, stop);
}

std::uint64_t SimulatorLoop::WireNs(std::size_t bytes) const {
  if (options_.baud <= 0) return 0;
  return static_cast<std::uint64_t>(bytes) * wire::kBitsPerByte * 1000000000u /
         static_cast<std::uint64_t>(options_.baud);
}

void SimulatorLoop::Send(const std::vector<std::uint8_t>& bytes, std::uint64_t start_ns,
                         const volatile std::sig_atomic_t& stop) {
  const std::size_t step = options_.baud > 0 ? 1 : bytes.size();
  for (std::size_t sent = 0; sent < bytes.size(); sent += step) {
    if (!SleepUntil(start_ns + WireNs(sent + step), stop)) return;
    const ssize_t n = ::write(fd_, bytes.data() + sent, step);
    // A full line drops the rest, as a wire without a listener would.
    if (n < 0 && errno != EAGAIN && errno != EINTR) line_failed_ = true;
    if (n < static_cast<ssize_t>(step)) return;
  }
}

}  // namespace vzt
