#include "cli/CliSession.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "components/comm/DataRefresher.h"
#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"
#include "components/storage/MemIniData.h"
#include "components/storage/QorRegistryData.h"
#include "components/translator/Translator.h"
#include "config/Container.h"
#include "datamodule/SerialDataModule.h"
#include "platform/Library.h"
#include "platform/MainThread.h"
#include "platform/NumberPattern.h"
#include "platform/NumberText.h"

namespace vzt {

namespace {

// The live panel as the configuration window shows it: label, item, display format.
struct LiveLabel {
  const char* caption;
  const char* item;
  const char* pattern;
};
constexpr LiveLabel kLivePanel[] = {
    {"Giri", "ValoreGiri", "###0 RPM"},
    {"Temperatura", "ValoreTemperatura", "##0 °C"},
    {"Minimo TPS", "ValoreMinTPS", "0.00 V"},
    {"Posizione Attuatore", "ValorePosizioneAttuatore", ""},
    {"Posizione Default", "ValorePosizioneDefault", ""},
    {"Lambda", "ValoreLambda", "0.00 V"},
    {"TPS", "ValoreTPS", "0.00 V"},
};

bool NeedsController(const std::string& command) {
  return command == "info" || command == "dump" || command == "get" || command == "set" ||
         command == "save" || command == "load" || command == "live";
}

std::string PortName(int port) {
  if (port >= 0 && port <= 3) return "COM" + std::to_string(port + 1);
  if (port == 4) return "USB";
  return "port " + std::to_string(port);
}

std::string ValueText(TQorSerialData& item, double value) {
  std::string text = FloatToText(value);
  if (!item.MeasureUnit.empty()) text += " " + item.MeasureUnit;
  return text;
}

std::optional<double> ParseUserValue(const std::string& text) {
  if (auto v = TextToFloat(text)) return v;
  std::string other = text;
  const char regional = DecimalSeparator();
  for (char& c : other)
    if (c == '.' || c == ',') c = regional;
  return TextToFloat(other);
}

}  // namespace

// ---------------------------------------------------------------- parsing

std::string UsageText() {
  return
      "usage: vzt905-cli [--device PATH] [--offline] COMMAND [ARGS] [COMMAND [ARGS] ...]\n"
      "\n"
      "Talks to the lambda controller through the serial communication library, or works\n"
      "on configuration files. Commands run in order on one connection; the first that\n"
      "fails ends the run.\n"
      "\n"
      "commands:\n"
      "  info                     connect; show the identification record, port and library\n"
      "  dump [--format table|ini] every parameter; 'ini' prints the text a save would encrypt\n"
      "  get NAME                 one parameter or live value (component name or file key)\n"
      "  set NAME VALUE           write a parameter, VALUE in user units\n"
      "  save FILE                save the configuration to an encrypted file\n"
      "  load FILE                load an encrypted configuration file into the controller\n"
      "  live [--count N]         N lines of live values as the configuration window shows them\n"
      "  decrypt FILE             the plain text of a configuration file, on stdout\n"
      "  encrypt PLAIN FILE       make a configuration file from plain INI text\n"
      "  diff FILE_A FILE_B       the parameters whose values differ between two files\n"
      "\n"
      "options:\n"
      "  --device PATH            the serial device the library's port search takes\n"
      "  --offline                no library: values live only in this program\n"
      "  --help                   this text\n"
      "\n"
      "exit status: 0 success, 1 failure, 2 usage\n";
}

bool ParseCommandLine(const std::vector<std::string>& args, CliOptions& options, std::string& error) {
  struct Arity {
    const char* name;
    std::size_t args;
  };
  constexpr Arity kCommands[] = {{"info", 0},    {"dump", 0},    {"get", 1},     {"set", 2},
                                 {"save", 1},    {"load", 1},    {"live", 0},    {"decrypt", 1},
                                 {"encrypt", 2}, {"diff", 2}};
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      options.help = true;
      continue;
    }
    if (a == "--offline") {
      options.offline = true;
      continue;
    }
    if (a == "--device") {
      if (++i >= args.size()) return error = "--device needs a path", false;
      options.device = args[i];
      continue;
    }
    const Arity* found = nullptr;
    for (const Arity& c : kCommands)
      if (a == c.name) found = &c;
    if (!found) return error = "unknown command or option: " + a, false;
    CliCommand command{a, {}};
    for (std::size_t n = 0; n < found->args; ++n) {
      if (++i >= args.size() || args[i].rfind("--", 0) == 0)
        return error = a + " needs " + std::to_string(found->args) + " argument(s)", false;
      command.args.push_back(args[i]);
    }
    if (a == "dump" && i + 1 < args.size() && args[i + 1] == "--format") {
      if (i + 2 >= args.size()) return error = "--format needs table or ini", false;
      command.format = args[i + 2];
      if (command.format != "table" && command.format != "ini")
        return error = "--format needs table or ini", false;
      i += 2;
    }
    if (a == "live" && i + 1 < args.size() && args[i + 1] == "--count") {
      char* end = nullptr;
      const long n = i + 2 < args.size() ? std::strtol(args[i + 2].c_str(), &end, 10) : 0;
      if (i + 2 >= args.size() || *end != '\0' || n < 1 || n > 1000000)
        return error = "--count needs a number from 1 up", false;
      command.count = static_cast<int>(n);
      i += 2;
    }
    options.commands.push_back(std::move(command));
  }
  if (!options.help && options.commands.empty()) return error = "no command given", false;
  return true;
}

// ---------------------------------------------------------------- session

CliSession::CliSession(const CliOptions& options) : options_(options) {
  if (!options_.device.empty()) ::setenv("SERQOR_DEVICE", options_.device.c_str(), 1);
  DataModuleOptions moduleOptions;
  moduleOptions.host = &host_;
  if (options_.offline) moduleOptions.dllName = "";
  module_ = std::make_unique<TSerialDataModule>(moduleOptions);
  SetUpLanguage();
  // As the program does when its configuration window is created, so that a file saved
  // here matches one saved by the windows.
  module_->ResetAll();
}

CliSession::~CliSession() = default;

void CliSession::SetUpLanguage() {
  TQorRegistryData settings;
  settings.SetKeyName("software\\qor srl\\VZT905");
  settings.SetIntData("Language", 0);
  settings.LoadData();
  TTranslator* translator = module_->Translator();
  translator->SetDllName(ProgramFolder() + "/Dizionario/Languages.dll");
  translator->LoadLanguageLibrary();
  translator->SetLanguage(settings.GetIntData("Language"));
  module_->LoadSharedTexts();
  settings.SetKeyName("");  // reading only: nothing to write back
}

int CliSession::Run() {
  for (const CliCommand& c : options_.commands) {
    if (NeedsController(c.name) && !options_.offline && !EnsureConnected()) return kExitFailure;
    const int status = Execute(c);
    if (status != kExitOk) return status;
  }
  return kExitOk;
}

int CliSession::Execute(const CliCommand& c) {
  if (c.name == "info") return Info();
  if (c.name == "dump") return Dump(c.format);
  if (c.name == "get") return Get(c.args[0]);
  if (c.name == "set") return Set(c.args[0], c.args[1]);
  if (c.name == "save") return Save(c.args[0]);
  if (c.name == "load") return Load(c.args[0]);
  if (c.name == "live") return Live(c.count);
  if (c.name == "decrypt") return Decrypt(c.args[0]);
  if (c.name == "encrypt") return Encrypt(c.args[0], c.args[1]);
  if (c.name == "diff") return Diff(c.args[0], c.args[1]);
  return kExitUsage;
}

bool CliSession::EnsureConnected() {
  TQorConnection* connection = module_->QorConnection();
  if (connection->Loaded() && connection->Link()->IsOpen() != 0) return true;
  const int result = module_->Connect(4, 0);
  if (connection->Loaded() && connection->Link()->IsOpen() != 0) return true;
  ReportConnectFailure(result);
  return false;
}

void CliSession::ReportConnectFailure(int result) {
  const SharedTexts& t = module_->Texts();
  const std::u16string caption = u"vzt905-cli";
  if (result == kConnectWrongKind) {
    Host& host = host_;
    host.ShowMessageBox(MessageOwner::MainWindow, t.TextWrongEcu, caption, MessageIcon::Error);
  } else if (result == kConnectNoAnswer) {
    Host& host = host_;
    host.ShowMessageBox(MessageOwner::MainWindow,
                         t.TextConnectFailed1 + u"\n" + t.TextConnectFailed2 + u"\n(ERR.CODE: C01)",
                         caption, MessageIcon::Error);
  } else {
    std::fprintf(stderr,
                 "error: no controller connected (library missing, wrong identification, or the "
                 "link did not open); try --device PATH or --offline\n");
  }
}

int CliSession::Info() {
  const auto& id = module_->Identification();
  std::printf("identification:");
  for (unsigned char b : id) std::printf(" %02x", b);
  std::printf("\n");
  TQorConnection* connection = module_->QorConnection();
  if (!connection->Loaded()) {
    std::printf("port: none\nlibrary: none (offline)\n");
    return kExitOk;
  }
  std::printf("port: %s\n", PortName(connection->Link()->GetPort()).c_str());
  FILE_VERSION_DATA v{};
  if (connection->GetDllVersion(&v))
    std::printf("library: %u.%u.%u.%u\n", v.major, v.minor, v.release, v.build);
  return kExitOk;
}

int CliSession::Dump(const std::string& format) {
  if (format == "ini") {
    std::string text;
    if (!module_->ExportConfigurationText(text)) {
      std::fprintf(stderr, "error: the configuration text could not be made\n");
      return kExitFailure;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
  }
  std::printf("%-28s %-46s %s\n", "NAME", "KEY", "VALUE");
  for (Component* c : module_->Components()) {
    auto* n = dynamic_cast<TQorNumber*>(c);
    if (!n) continue;
    std::printf("%-28s %-46s %s\n", n->Name().c_str(), n->FileKeyName.c_str(),
                ValueText(*n, n->GetDouble()).c_str());
  }
  return kExitOk;
}

void CliSession::RefreshLiveValues() {
  TDataRefresher* refresher = module_->DataRefresher();
  refresher->SetEnabled(true);
  refresher->ReloadAll();
  refresher->SetEnabled(false);
}

int CliSession::Get(const std::string& name) {
  if (TQorNumber* n = module_->FindParameter(name)) {
    std::printf("%s\n", ValueText(*n, n->GetDouble()).c_str());
    return kExitOk;
  }
  if (TQorPacketData* p = module_->Packet(name)) {
    if (!options_.offline) RefreshLiveValues();
    std::printf("%s\n", FloatToText(p->GetDouble()).c_str());
    return kExitOk;
  }
  std::fprintf(stderr, "error: no parameter or live value named %s\n", name.c_str());
  return kExitFailure;
}

int CliSession::Set(const std::string& name, const std::string& value) {
  TQorNumber* n = module_->FindParameter(name);
  if (!n) {
    std::fprintf(stderr, "error: no parameter named %s\n", name.c_str());
    return kExitFailure;
  }
  const auto user = ParseUserValue(value);
  if (!user) {
    std::fprintf(stderr, "error: %s is not a number\n", value.c_str());
    return kExitFailure;
  }
  if (!n->SetData(*user)) {
    std::fprintf(stderr, "error: %s was not written\n", n->Name().c_str());
    return kExitFailure;
  }
  std::printf("%s = %s\n", n->Name().c_str(), ValueText(*n, n->GetDouble()).c_str());
  return kExitOk;
}

int CliSession::Save(const std::string& file) {
  if (!module_->PauseRefresher()) return kExitFailure;
  return module_->Save(file) ? kExitOk : kExitFailure;
}

int CliSession::Load(const std::string& file) {
  if (!module_->PauseRefresher()) return kExitFailure;
  return module_->Load(file) ? kExitOk : kExitFailure;
}

int CliSession::Live(int count) {
  TDataRefresher* refresher = module_->DataRefresher();
  refresher->SetEnabled(!options_.offline);
  for (int line = 0; line < count; ++line) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (std::chrono::steady_clock::now() < until)
      MainThread::Instance().WaitAndProcess(std::chrono::milliseconds(20));
    std::string text;
    for (const LiveLabel& label : kLivePanel) {
      TQorPacketData* p = module_->Packet(label.item);
      if (!text.empty()) text += " | ";
      text += std::string(label.caption) + " " + FormatNumberPattern(label.pattern, p->GetDouble());
    }
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
  }
  refresher->SetEnabled(false);
  return module_->PauseRefresher() ? kExitOk : kExitFailure;
}

int CliSession::Decrypt(const std::string& file) {
  TextBuffer buffer;
  if (const auto r = decrypt(file, buffer); !r) {
    std::fprintf(stderr, "error: %s: %s\n", file.c_str(),
                 std::string(DescribeContainerFault(r.fault)).c_str());
    return kExitFailure;
  }
  std::fwrite(buffer.Text().data(), 1, buffer.Text().size(), stdout);
  return kExitOk;
}

int CliSession::Encrypt(const std::string& plain, const std::string& file) {
  if (const auto r = encrypt(plain, file, host_); !r) {
    std::fprintf(stderr, "error: %s: %s\n", file.c_str(),
                 std::string(DescribeContainerFault(r.fault)).c_str());
    return kExitFailure;
  }
  return kExitOk;
}

int CliSession::Diff(const std::string& a, const std::string& b) {
  std::unique_ptr<TextBuffer> buffers[2] = {std::make_unique<TextBuffer>(),
                                           std::make_unique<TextBuffer>()};
  const std::string files[2] = {a, b};
  for (int i = 0; i < 2; ++i) {
    if (const auto r = decrypt(files[i], *buffers[i]); !r) {
      std::fprintf(stderr, "error: %s: %s\n", files[i].c_str(),
                   std::string(DescribeContainerFault(r.fault)).c_str());
      return kExitFailure;
    }
  }
  TMemIniData first(&buffers[0]), second(&buffers[1]);
  int differences = 0;
  for (Component* c : module_->Components()) {
    auto* n = dynamic_cast<TQorNumber*>(c);
    if (!n || n->FileKeyName.empty()) continue;
    const std::string key = n->FileKey();
    const std::string va = first.ReadString(n->FileSection, key, "(missing)");
    const std::string vb = second.ReadString(n->FileSection, key, "(missing)");
    const auto na = ParseUserValue(va), nb = ParseUserValue(vb);
    const bool same = (na && nb) ? *na == *nb : va == vb;
    if (same) continue;
    ++differences;
    std::printf("%s (%s): %s -> %s\n", n->Name().c_str(), key.c_str(), va.c_str(), vb.c_str());
  }
  std::fprintf(stderr, "%d parameter(s) differ\n", differences);
  return kExitOk;
}

}  // namespace vzt
