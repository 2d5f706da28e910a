// Saving and loading whole configurations.

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "components/data/SerialData.h"
#include "components/storage/MemIniData.h"
#include "components/storage/ProfileIniFile.h"
#include "config/Container.h"
#include "datamodule/SerialDataModule.h"
#include "platform/StringResources.h"

namespace vzt {

namespace {

enum : int {
  kTextLoadMessage = 92,
  kTextSaveMessage = 93,
  kTextLoadCaption = 94,
  kTextSaveCaption = 95,
  kTextCannotReplace = 96,
  kTextFileErrorCaption = 97,
  kTextCannotEncrypt = 98,
};

// A file in the system's temporary folder that only its owner can read, removed when this
// goes out of scope, whatever happened in between.
class PlainWorkFile {
 public:
  PlainWorkFile() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/_tcXXXXXX";
    const int fd = ::mkstemp(pattern.data());  // created 0600
    if (fd >= 0) {
      ::close(fd);
      path_ = pattern;
    }
  }
  ~PlainWorkFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  PlainWorkFile(const PlainWorkFile&) = delete;
  PlainWorkFile& operator=(const PlainWorkFile&) = delete;

  bool Created() const { return !path_.empty(); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// A target can be replaced when its folder takes new files and it is not a folder itself
// or write-protected (the read-only attribute of other systems).
bool CanReplace(const std::string& fileName) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path target(fileName);
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  if (::access(folder.c_str(), W_OK) != 0) return false;
  if (!fs::exists(target, ec)) return true;
  return fs::is_regular_file(target, ec) && ::access(target.c_str(), W_OK) == 0;
}

std::u16string Widen(std::string_view text) { return AnsiToWide(text); }

// Where the container's own messages go when there is no user interface at all.
class NoMessages : public MessageSink {
 public:
  void ShowMessage(std::u16string_view, std::u16string_view) override {}
};

}  // namespace

MessageSink& TSerialDataModule::Messages() {
  static NoMessages none;
  if (options_.host) return *options_.host;
  return none;
}

bool TSerialDataModule::WriteConfigurationText(const std::string& plainFile,
                                               std::u16string& failures) {
  TProfileIniFile ini(plainFile);
  const auto& all = Components();
  for (std::size_t i = 0; i < all.size(); ++i) {
    SetProgress(i);
    auto* item = dynamic_cast<TQorSerialData*>(all[i]);
    if (!item || dynamic_cast<TQorPacketData*>(item)) continue;
    if (!item->WriteToFile(&ini)) failures += Widen(item->Name()) + u"\n";
  }
  ini.UpdateFile();
  return !ini.Failed();
}

bool TSerialDataModule::ExportConfigurationText(std::string& text) {
  PlainWorkFile plain;
  std::u16string failures;
  if (!plain.Created() || !WriteConfigurationText(plain.Path(), failures)) return false;
  std::ifstream in(plain.Path(), std::ios::binary);
  text.assign(std::istreambuf_iterator<char>(in), {});
  return !in.bad() && failures.empty();
}

bool TSerialDataModule::Save(const std::string& fileName) {
  // The old file stays until the new one is complete, so it is not deleted first; a
  // target that could not be replaced is refused before anything is written.
  if (!CanReplace(fileName)) {
    Message(Text(kTextCannotReplace), Text(kTextFileErrorCaption));
    return false;
  }
  if (options_.host) options_.host->SetBusyCursor(true);
  OpenWaitWindow(kTextSaveCaption, kTextSaveMessage);

  std::u16string failures;
  bool written = false;
  {
    PlainWorkFile plain;
    if (plain.Created() && WriteConfigurationText(plain.Path(), failures))
      written = static_cast<bool>(encrypt(plain.Path(), fileName, Messages()));
    if (!written) Message(Text(kTextCannotEncrypt), Text(kTextFileErrorCaption));
    CloseWaitWindow();
  }
  if (options_.host) options_.host->SetBusyCursor(false);
  if (!failures.empty())
    Message(u"It was impossible to save the following data::\n" + failures,
            Text(kTextFileErrorCaption));
  return written && failures.empty();
}

bool TSerialDataModule::LoadPass(TCustomIniFile& ini, int group) {
  const auto& all = Components();
  for (std::size_t i = 0; i < all.size(); ++i) {
    SetProgress(i);
    auto* item = dynamic_cast<TQorSerialData*>(all[i]);
    if (!item || item->ReadOnly || item->DataGroup != group) continue;
    const bool keptLimits = item->DisableLimits;
    item->DisableLimits = true;
    const bool ok = item->ReadFromFile(&ini);
    item->DisableLimits = keptLimits;
    if (!ok) {
      Message(u"It's impossible to read " + Widen(item->Name()), Text(kTextFileErrorCaption));
      return false;
    }
  }
  return true;
}

bool TSerialDataModule::Load(const std::string& fileName) {
  auto buffer = std::make_unique<TextBuffer>();
  if (!decrypt(fileName, *buffer)) {
    Message(Text(kTextCannotEncrypt), Text(kTextFileErrorCaption));
    return false;
  }
  ResetAll();
  if (options_.host) options_.host->SetBusyCursor(true);
  OpenWaitWindow(kTextLoadCaption, kTextLoadMessage);
  bool ok = true;
  {
    TMemIniData store(&buffer);
    ok = LoadPass(store, 0);
    ok = LoadPass(store, 1) && ok;
  }
  buffer.reset();
  CloseWaitWindow();
  if (options_.host) options_.host->SetBusyCursor(false);
  return ok;
}

}  // namespace vzt
