// A stand-in communication library, built several times with different versions and
// with exports left out, so the connection can be tested through the real loader.

#include <cstring>

#include "components/comm/SerialLink.h"

#define VZT_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using Recorder = void (*)(const char* call);
Recorder recorder = nullptr;

void Record(const char* call) {
  if (recorder) recorder(call);
}

class RecordingLink final : public vzt::TSerialLink {
 public:
  int GetPort() override { return 4; }
  void SetupBegin(int) override { Record("SetupBegin"); }
  void SelectPort(int) override { Record("SelectPort"); }
  void ReleaseLink() override { Record("ReleaseLink"); }
  int IsOpen() override { return open_ ? 1 : 0; }
  int Open() override {
    Record("Open");
    open_ = true;
    return 1;
  }
  void Close() override {
    Record("Close");
    open_ = false;
  }
  int GetStatus() override { return 0x10; }
  void UseDefaultMode() override {}
  void UseAlternateMode() override {}
  bool ReadValue(int, int*) override { return false; }
  bool ReadElement(int, int*, int) override { return false; }
  bool ReadPacket(int, void*, int*) override { return false; }
  bool WriteValue(int, int) override { return false; }
  bool WriteElement(int, int, int) override { return false; }
  bool WriteMatrixElement(int, int, int, int) override { return false; }
  bool ReadIdentification(unsigned char*) override { return false; }
  void SetupEnd(int) override {}
  bool WriteByAddress(int, int, int) override { return false; }
  bool ReadMatrixElement(int, int*, int, int) override { return false; }
  bool ReadByAddress(int, int, int*) override { return false; }

 private:
  bool open_ = false;
};

}  // namespace

VZT_EXPORT void TestLink_SetRecorder(Recorder r) { recorder = r; }

#ifndef OMIT_CREATE
VZT_EXPORT vzt::TSerialLink* _CreateClassInstance() {
  Record("Create");
  return new RecordingLink;
}
#endif

#ifndef OMIT_DESTROY
VZT_EXPORT void _DestroyClassInstance(vzt::TSerialLink* link) {
  Record("Destroy");
  delete static_cast<RecordingLink*>(link);
}
#endif

#ifndef OMIT_VERSION
VZT_EXPORT bool _GetDLLVersion(vzt::FILE_VERSION_DATA* v) {
  if (!v) return false;
  v->major = VERSION_MAJOR;
  v->minor = VERSION_MINOR;
  v->release = VERSION_RELEASE;
  v->build = 77;
  return VERSION_ANSWER;
}
#endif
