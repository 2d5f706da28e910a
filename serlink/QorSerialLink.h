#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/comm/SerialLink.h"
#include "serlink/HostNotifier.h"
#include "serlink/MonotonicClock.h"
#include "serlink/ProtocolClient.h"
#include "serlink/SerialPort.h"

namespace vzt {

// What the link needs from its surroundings; the library passes the real ones, tests
// scripted ones.
struct LinkServices {
  std::function<std::unique_ptr<SerialPort>()> make_port;
  std::function<std::vector<std::string>(int port)> candidates;
  MessageSink notify;
  MonotonicClock clock;
  int reply_allowance_ms = 150;
};

LinkServices SystemLinkServices();

// The link object of the library. It holds the port, the protocol client with its sequence
// counter, the session state and the status of the last transfer.
class QorSerialLink final : public TSerialLink {
 public:
  static constexpr int kDefaultBaud = 19200;
  static constexpr int kAlternateBaud = 9600;
  static constexpr int kTransferAttempts = 6;
  // An open session is taken as lost after this many transfers in a row without any answer.
  static constexpr int kSilentTransfersForLoss = 3;
  // Progress reported to the host after identification and after the session opened.
  static constexpr int kIdentifiedProgress = 5;
  static constexpr int kOpenedProgress = 10;

  explicit QorSerialLink(LinkServices services);
  ~QorSerialLink();
  QorSerialLink(const QorSerialLink&) = delete;
  QorSerialLink& operator=(const QorSerialLink&) = delete;

  int GetPort() override;
  void SetupBegin(int reserved) override;
  void SelectPort(int port) override;
  void ReleaseLink() override;
  int IsOpen() override;
  int Open() override;
  void Close() override;
  int GetStatus() override;
  void UseDefaultMode() override;
  void UseAlternateMode() override;
  bool ReadValue(int code, int* value) override;
  bool ReadElement(int code, int* value, int row) override;
  bool ReadPacket(int code, void* data, int* size) override;
  bool WriteValue(int code, int value) override;
  bool WriteElement(int code, int row, int value) override;
  bool WriteMatrixElement(int code, int row, int col, int value) override;
  bool ReadIdentification(unsigned char* record) override;
  void SetupEnd(int reserved) override;
  bool WriteByAddress(int code, int address, int value) override;
  bool ReadMatrixElement(int code, int* value, int row, int col) override;
  bool ReadByAddress(int code, int address, int* value) override;

 private:
  // Opens the first candidate device whose controller answers the identification request.
  bool ConnectDevice(unsigned char* record);
  bool Identify(unsigned char* record);
  // One transfer with the controller; the reply's data after the status byte, or nothing
  // with the status word set.
  std::optional<wire::Bytes> Exchange(std::uint8_t command, const wire::Bytes& payload,
                                      std::size_t max_data);
  void NoteFailedTransfer(const TransferResult& result);
  bool ReadByCode(int code, int row, int col, int* value);
  bool WriteByCode(int code, int row, int col, int value);
  bool NeedSession();
  bool Fail(int status);
  void SetBaud(int baud);
  void ClosePort();
  // Closes the port; when a session was open, ends it and tells the host, once.
  void EndSession();
  void Progress(int percent, bool add);

  LinkServices services_;
  std::unique_ptr<SerialPort> port_;
  ProtocolClient client_;
  int port_index_;
  int baud_ = kDefaultBaud;
  bool session_open_ = false;
  int status_ = 0;
  int silent_transfers_ = 0;
};

}  // namespace vzt
