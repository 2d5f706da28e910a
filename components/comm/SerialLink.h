#pragma once

// The boundary to the serial communication library. The program knows the library only
// through this header and loads it at run time; it never links to it.

#include <cstdint>

#include "platform/Messages.h"

namespace vzt {

struct FILE_VERSION_DATA {
  std::uint32_t major;
  std::uint32_t minor;
  std::uint32_t release;
  std::uint32_t build;
};

// The link object. The operations keep this order: the library and the program must agree
// on it. `code` is the requesting item's RequestCode; bool results mean success.
class TSerialLink {
 public:
  virtual int GetPort() = 0;
  virtual void SetupBegin(int reserved) = 0;
  virtual void SelectPort(int port) = 0;
  virtual void ReleaseLink() = 0;
  virtual int IsOpen() = 0;
  virtual int Open() = 0;
  virtual void Close() = 0;
  virtual int GetStatus() = 0;
  virtual void UseDefaultMode() = 0;
  virtual void UseAlternateMode() = 0;
  virtual bool ReadValue(int code, int* value) = 0;
  virtual bool ReadElement(int code, int* value, int row) = 0;
  virtual bool ReadPacket(int code, void* data, int* size) = 0;
  virtual bool WriteValue(int code, int value) = 0;
  virtual bool WriteElement(int code, int row, int value) = 0;
  virtual bool WriteMatrixElement(int code, int row, int col, int value) = 0;
  virtual bool ReadIdentification(unsigned char* record) = 0;
  virtual void SetupEnd(int reserved) = 0;
  virtual bool WriteByAddress(int code, int address, int value) = 0;
  virtual bool ReadMatrixElement(int code, int* value, int row, int col) = 0;
  virtual bool ReadByAddress(int code, int address, int* value) = 0;

 protected:
  // Only the library destroys a link, through _DestroyClassInstance.
  ~TSerialLink() = default;
};

// Status word bits of GetStatus.
inline constexpr int LINK_STATUS_NOT_DEFINED = 4;  // the controller does not define the data

// Room for packet data that ReadPacket fills, and the size passed in.
inline constexpr int LINK_PACKET_ROOM = 252;
inline constexpr int LINK_PACKET_REQUEST_SIZE = 64;
// Bytes of the identification record ReadIdentification fills.
inline constexpr int LINK_IDENTIFICATION_SIZE = 16;

// The library's exports.
using CreateClassInstanceFn = TSerialLink* (*)();
using DestroyClassInstanceFn = void (*)(TSerialLink*);
using GetDLLVersionFn = bool (*)(FILE_VERSION_DATA*);

inline constexpr const char* kCreateClassInstanceExport = "_CreateClassInstance";
inline constexpr const char* kDestroyClassInstanceExport = "_DestroyClassInstance";
inline constexpr const char* kGetDLLVersionExport = "_GetDLLVersion";

// The hook through which the library reaches the program's windows (MSG_LINK_STATE,
// MSG_LINK_PROGRESS). The program exports it; the library looks it up at run time and
// stays silent where no program provides it.
using HostMessageHookFn = void (*)(unsigned msg, WParam wparam, LParam lparam);
inline constexpr const char* kHostMessageHookExport = "SerQorHostMessage";

}  // namespace vzt

// Declarations of the exports, for the library's own definitions.
extern "C" {
vzt::TSerialLink* _CreateClassInstance();
void _DestroyClassInstance(vzt::TSerialLink* link);
bool _GetDLLVersion(vzt::FILE_VERSION_DATA* version);
}
