#include "serlink/QorSerialLink.h"

#include <algorithm>
#include <cstring>

#include "serlink/LinkStatus.h"
#include "serlink/PortLocator.h"
#include "serlink/PosixSerialPort.h"
#include "serlink/WireMessages.h"

namespace vzt {

namespace {

constexpr int kMaxIndex = wire::kNoIndex - 1;

bool IndexInRange(int index) { return index >= 0 && index <= kMaxIndex; }

std::uint16_t WireIndex(int index) {
  return index < 0 ? wire::kNoIndex : static_cast<std::uint16_t>(index);
}

}  // namespace

LinkServices SystemLinkServices() {
  LinkServices services;
  services.make_port = [] { return std::make_unique<PosixSerialPort>(); };
  services.candidates = SystemCandidateDevices;
  services.notify = HostMessageSink();
  services.clock = SteadyClock();
  return services;
}

QorSerialLink::QorSerialLink(LinkServices services)
    : services_(std::move(services)),
      port_(services_.make_port()),
      client_(*port_, services_.clock),
      port_index_(kUsbPort) {
  TransferTiming timing;
  timing.baud = baud_;
  timing.attempts = kTransferAttempts;
  timing.reply_allowance_ms = services_.reply_allowance_ms;
  client_.SetTiming(timing);
}

QorSerialLink::~QorSerialLink() {
  if (session_open_) client_.Transfer(wire::kCloseSession, {}, 1, 1);
  ClosePort();
}

int QorSerialLink::GetPort() { return port_index_; }

void QorSerialLink::SetupBegin(int) {
  // A new setup finds its device afresh: it may have been replaced since the last one.
  if (!session_open_) ClosePort();
}

void QorSerialLink::SelectPort(int port) {
  if (port < kFirstComPort || port > kUsbPort) {
    status_ = LINK_STATUS_BAD_ARGUMENT;
    return;
  }
  if (port != port_index_ && !session_open_) ClosePort();
  port_index_ = port;
}

void QorSerialLink::SetupEnd(int) {}

void QorSerialLink::UseDefaultMode() { SetBaud(kDefaultBaud); }

void QorSerialLink::UseAlternateMode() { SetBaud(kAlternateBaud); }

void QorSerialLink::SetBaud(int baud) {
  baud_ = baud;
  TransferTiming timing = client_.Timing();
  timing.baud = baud;
  client_.SetTiming(timing);
  if (port_->IsOpen()) port_->SetBaud(baud);
}

void QorSerialLink::ReleaseLink() {
  if (session_open_)
    Close();
  else
    ClosePort();
}

int QorSerialLink::IsOpen() { return session_open_ ? 1 : 0; }

int QorSerialLink::GetStatus() { return status_; }

bool QorSerialLink::ReadIdentification(unsigned char* record) {
  if (!record) return Fail(LINK_STATUS_BAD_ARGUMENT);
  status_ = 0;
  Progress(0, false);
  const bool identified = port_->IsOpen() ? Identify(record) : ConnectDevice(record);
  if (identified) Progress(kIdentifiedProgress, false);
  return identified;
}

int QorSerialLink::Open() {
  if (session_open_) return 1;
  status_ = 0;
  if (!port_->IsOpen()) {
    unsigned char record[LINK_IDENTIFICATION_SIZE];
    if (!ConnectDevice(record)) return 0;
    Progress(kIdentifiedProgress, false);
  }
  if (!Exchange(wire::kOpenSession, {}, 0)) return 0;
  session_open_ = true;
  silent_transfers_ = 0;
  Progress(kOpenedProgress, false);
  services_.notify(MSG_LINK_STATE, 0, 1);
  return 1;
}

void QorSerialLink::Close() {
  if (session_open_) {
    // One attempt only: a controller that misses it drops the session when the next one
    // opens.
    client_.Transfer(wire::kCloseSession, {}, 1, 1);
    EndSession();
  }
  ClosePort();
}

bool QorSerialLink::ConnectDevice(unsigned char* record) {
  const std::vector<std::string> devices = services_.candidates(port_index_);
  int failure = LINK_STATUS_NOT_OPEN;
  for (const std::string& device : devices) {
    if (!port_->Open(device, baud_)) continue;
    if (Identify(record)) return true;
    failure = status_;
    ClosePort();
  }
  return Fail(failure);
}

bool QorSerialLink::Identify(unsigned char* record) {
  const auto data = Exchange(wire::kIdentify, {}, wire::kIdentificationSize);
  if (!data) return false;
  if (data->size() != wire::kIdentificationSize) return Fail(LINK_STATUS_FRAMING);
  std::copy(data->begin(), data->end(), record);
  return true;
}

std::optional<wire::Bytes> QorSerialLink::Exchange(std::uint8_t command,
                                                   const wire::Bytes& payload,
                                                   std::size_t max_data) {
  if (!port_->IsOpen()) {
    Fail(LINK_STATUS_NOT_OPEN);
    return std::nullopt;
  }
  const TransferResult result = client_.Transfer(command, payload, 1 + max_data);
  if (!result.Replied()) {
    NoteFailedTransfer(result);
    return std::nullopt;
  }
  silent_transfers_ = 0;
  switch (result.payload.front()) {
    case wire::kReplyOk:
      status_ = 0;
      return wire::Bytes(result.payload.begin() + 1, result.payload.end());
    case wire::kReplyNotDefined:
      Fail(LINK_STATUS_NOT_DEFINED);
      return std::nullopt;
    default:
      Fail(LINK_STATUS_REFUSED);
      return std::nullopt;
  }
}

void QorSerialLink::NoteFailedTransfer(const TransferResult& result) {
  if (result.outcome == TransferResult::kDeviceLost) {
    EndSession();
    Fail(LINK_STATUS_NOT_OPEN | LINK_STATUS_DEVICE_LOST);
    return;
  }
  Fail((result.timed_out ? LINK_STATUS_TIMEOUT : 0) |
       (result.saw_bad_frame ? LINK_STATUS_FRAMING : 0));
  if (result.Silent() && session_open_ && ++silent_transfers_ >= kSilentTransfersForLoss)
    EndSession();
}

bool QorSerialLink::NeedSession() {
  if (session_open_ && port_->IsOpen()) return true;
  return Fail(LINK_STATUS_NOT_OPEN);
}

bool QorSerialLink::Fail(int status) {
  status_ = status;
  return false;
}

bool QorSerialLink::ReadByAddress(int, int address, int* value) {
  if (!value || !IndexInRange(address)) return Fail(LINK_STATUS_BAD_ARGUMENT);
  if (!NeedSession()) return false;
  const auto data = Exchange(wire::kReadAddress, wire::EncodeAddress(WireIndex(address)), 1);
  if (!data) return false;
  const auto byte = wire::DecodeByteData(*data);
  if (!byte) return Fail(LINK_STATUS_FRAMING);
  *value = *byte;
  return true;
}

bool QorSerialLink::WriteByAddress(int, int address, int value) {
  if (!IndexInRange(address) || value < 0 || value > 0xFF)
    return Fail(LINK_STATUS_BAD_ARGUMENT);
  if (!NeedSession()) return false;
  const wire::AddressWrite write{WireIndex(address), static_cast<std::uint8_t>(value)};
  const auto data = Exchange(wire::kWriteAddress, wire::EncodeAddressWrite(write), 0);
  return data.has_value();
}

bool QorSerialLink::ReadValue(int code, int* value) { return ReadByCode(code, -1, -1, value); }

bool QorSerialLink::ReadElement(int code, int* value, int row) {
  if (!IndexInRange(row)) return Fail(LINK_STATUS_BAD_ARGUMENT);
  return ReadByCode(code, row, -1, value);
}

bool QorSerialLink::ReadMatrixElement(int code, int* value, int row, int col) {
  if (!IndexInRange(row) || !IndexInRange(col)) return Fail(LINK_STATUS_BAD_ARGUMENT);
  return ReadByCode(code, row, col, value);
}

bool QorSerialLink::WriteValue(int code, int value) { return WriteByCode(code, -1, -1, value); }

bool QorSerialLink::WriteElement(int code, int row, int value) {
  if (!IndexInRange(row)) return Fail(LINK_STATUS_BAD_ARGUMENT);
  return WriteByCode(code, row, -1, value);
}

bool QorSerialLink::WriteMatrixElement(int code, int row, int col, int value) {
  if (!IndexInRange(row) || !IndexInRange(col)) return Fail(LINK_STATUS_BAD_ARGUMENT);
  return WriteByCode(code, row, col, value);
}

bool QorSerialLink::ReadByCode(int code, int row, int col, int* value) {
  if (!value) return Fail(LINK_STATUS_BAD_ARGUMENT);
  if (!NeedSession()) return false;
  const wire::CodeSelector selector{static_cast<std::uint32_t>(code), WireIndex(row),
                                    WireIndex(col)};
  const auto data = Exchange(wire::kReadCode, wire::EncodeCodeSelector(selector), 4);
  if (!data) return false;
  const auto word = wire::DecodeWordData(*data);
  if (!word) return Fail(LINK_STATUS_FRAMING);
  *value = static_cast<int>(*word);
  return true;
}

bool QorSerialLink::WriteByCode(int code, int row, int col, int value) {
  if (!NeedSession()) return false;
  const wire::CodeWrite write{
      {static_cast<std::uint32_t>(code), WireIndex(row), WireIndex(col)},
      static_cast<std::uint32_t>(value)};
  return Exchange(wire::kWriteCode, wire::EncodeCodeWrite(write), 0).has_value();
}

bool QorSerialLink::ReadPacket(int code, void* data, int* size) {
  if (!data || !size || *size <= 0) return Fail(LINK_STATUS_BAD_ARGUMENT);
  if (!NeedSession()) return false;
  // Never more than the caller's buffer holds, whatever it asks for.
  const std::size_t wanted = std::min<std::size_t>(static_cast<std::size_t>(*size),
                                                   wire::kPacketRoom);
  const wire::PacketRequest request{static_cast<std::uint32_t>(code),
                                    static_cast<std::uint8_t>(wanted)};
  const auto reply = Exchange(wire::kReadPacket, wire::EncodePacketRequest(request), wanted);
  if (!reply) return false;
  if (reply->size() > wanted) return Fail(LINK_STATUS_FRAMING);
  std::memcpy(data, reply->data(), reply->size());
  *size = static_cast<int>(reply->size());
  return true;
}

void QorSerialLink::ClosePort() { port_->Close(); }

void QorSerialLink::EndSession() {
  ClosePort();
  if (!session_open_) return;
  session_open_ = false;
  silent_transfers_ = 0;
  services_.notify(MSG_LINK_STATE, 0, 0);
}

void QorSerialLink::Progress(int percent, bool add) {
  services_.notify(MSG_LINK_PROGRESS, static_cast<WParam>(percent), add ? 1 : 0);
}

}  // namespace vzt
