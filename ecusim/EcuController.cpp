#include "ecusim/EcuController.h"

#include <algorithm>

#include "ecusim/EcuParameterTable.h"
#include "ecusim/EngineModel.h"

namespace vzt {

namespace {

constexpr std::uint32_t kPacketCode = 0x800;  // the live packet, serial code 0
constexpr std::uint32_t kCommandCode = 0;     // the reprogramming command value

bool IsPlainValue(const wire::CodeSelector& s, std::uint32_t code) {
  return s.code == code && s.row == wire::kNoIndex && s.col == wire::kNoIndex;
}

}  // namespace

EcuController::EcuController(EcuIdentity identity, EcuMemory& memory)
    : identity_(identity),
      memory_(memory),
      acquire_default_at_ms_(engine::kStartMs + engine::kDefaultAcquiredAfterMs) {}

WireFrame EcuController::Handle(const WireFrame& request, std::uint64_t ms) {
  return WireFrame{request.sequence, wire::ReplyCommand(request.command), Answer(request, ms)};
}

wire::Bytes EcuController::Answer(const WireFrame& request, std::uint64_t ms) {
  const wire::ByteView payload = request.payload;
  switch (request.command) {
    case wire::kIdentify: {
      const auto record = identity_.Record();
      return wire::DataReply(record);
    }
    case wire::kOpenSession:
      return OpenSession();
    case wire::kCloseSession:
      session_open_ = false;
      return wire::StatusReply(wire::kReplyOk);
    default:
      break;
  }
  if (!session_open_) return wire::StatusReply(wire::kReplyRefused);
  switch (request.command) {
    case wire::kReadAddress: return ReadAddress(payload);
    case wire::kWriteAddress: return WriteAddress(payload, ms);
    case wire::kReadCode: return ReadCode(payload);
    case wire::kWriteCode: return WriteCode(payload);
    case wire::kReadPacket: return ReadPacket(payload, ms);
    default: return wire::StatusReply(wire::kReplyBadRequest);
  }
}

wire::Bytes EcuController::OpenSession() {
  if (refuse_sessions_) return wire::StatusReply(wire::kReplyRefused);
  session_open_ = true;
  return wire::StatusReply(wire::kReplyOk);
}

wire::Bytes EcuController::ReadAddress(wire::ByteView payload) const {
  const auto address = wire::DecodeAddress(payload);
  if (!address) return wire::StatusReply(wire::kReplyBadRequest);
  const auto value = memory_.Read(*address);
  if (!value) return wire::StatusReply(wire::kReplyNotDefined);
  return wire::ByteReply(*value);
}

wire::Bytes EcuController::WriteAddress(wire::ByteView payload, std::uint64_t ms) {
  const auto write = wire::DecodeAddressWrite(payload);
  if (!write) return wire::StatusReply(wire::kReplyBadRequest);
  if (!EcuMemory::IsDefined(write->address)) return wire::StatusReply(wire::kReplyNotDefined);
  if (write->address == kCheckupAddress && write->value == kEraseCommand)
    Erase(ms);
  else
    memory_.Write(write->address, write->value);
  Changed();
  return wire::StatusReply(wire::kReplyOk);
}

wire::Bytes EcuController::ReadCode(wire::ByteView payload) const {
  const auto selector = wire::DecodeCodeSelector(payload);
  if (!selector) return wire::StatusReply(wire::kReplyBadRequest);
  if (!IsPlainValue(*selector, kCommandCode)) return wire::StatusReply(wire::kReplyNotDefined);
  return wire::WordReply(command_register_);
}

wire::Bytes EcuController::WriteCode(wire::ByteView payload) {
  const auto write = wire::DecodeCodeWrite(payload);
  if (!write) return wire::StatusReply(wire::kReplyBadRequest);
  if (!IsPlainValue(write->selector, kCommandCode))
    return wire::StatusReply(wire::kReplyNotDefined);
  if (write->value > 0xFF) return wire::StatusReply(wire::kReplyRefused);
  command_register_ = write->value;
  return wire::StatusReply(wire::kReplyOk);
}

wire::Bytes EcuController::ReadPacket(wire::ByteView payload, std::uint64_t ms) const {
  const auto request = wire::DecodePacketRequest(payload);
  if (!request) return wire::StatusReply(wire::kReplyBadRequest);
  if (request->code != kPacketCode) return wire::StatusReply(wire::kReplyNotDefined);
  const engine::LivePacket packet = engine::Sample(ms, memory_);
  const std::size_t size = std::min<std::size_t>(request->size, packet.size());
  return wire::DataReply(std::span(packet).first(size));
}

void EcuController::Erase(std::uint64_t ms) {
  memory_.RestoreFactory();
  // The erased controller learns its default position again.
  acquire_default_at_ms_ =
      std::max(ms, engine::kStartMs) + engine::kDefaultAcquiredAfterMs;
  default_pending_ = true;
}

void EcuController::Tick(std::uint64_t ms) {
  if (!default_pending_ || ms < acquire_default_at_ms_) return;
  default_pending_ = false;
  const std::uint8_t flags = memory_.Bytes()[kDefaultAcquiredAddress];
  if (flags & kDefaultAcquiredBit) return;
  memory_.Write(kDefaultAcquiredAddress, flags | kDefaultAcquiredBit);
  Changed();
}

void EcuController::Changed() {
  if (on_change_) on_change_();
}

}  // namespace vzt
