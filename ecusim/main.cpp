// ecusim: the lambda controller on a pseudo-terminal, for tests, demonstrations and the
// program's default controller.

#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ecusim/DeviceLink.h"
#include "ecusim/EcuController.h"
#include "ecusim/EepromFile.h"
#include "ecusim/PseudoTerminal.h"
#include "ecusim/SimulatorLoop.h"
#include "ecusim/SimulatorOptions.h"
#include "serlink/SimulatorLink.h"

namespace {

volatile std::sig_atomic_t stop_requested = 0;

void RequestStop(int) { stop_requested = 1; }

void InstallSignals() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

// A simulator must not outlive the test or script that started it.
void EndWithParent() {
  const pid_t parent = ::getppid();
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (::getppid() != parent) stop_requested = 1;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "ecusim: %s\n", message.c_str());
  return 1;
}

bool PrepareMemory(const std::string& path, vzt::EcuMemory& memory, std::string& error) {
  if (path.empty()) return true;
  const vzt::EepromFile file(path);
  if (!file.Exists()) return file.Save(memory.Bytes(), error);
  const auto image = file.Load(error);
  if (!image) return false;
  memory.Assign(*image);
  return true;
}

std::string LinkPath(const vzt::SimulatorOptions& options, std::string& error) {
  if (!options.link_path.empty()) return options.link_path;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const unsigned uid = static_cast<unsigned>(::getuid());
  if (!(runtime && runtime[0] == '/') &&
      !vzt::DeviceLink::PreparePrivateFolder(vzt::PrivateTempFolder(uid), error))
    return {};
  return vzt::SimulatorLinkPath(runtime, uid);
}

int Simulate(const vzt::SimulatorOptions& options) {
  std::string error;
  vzt::EcuMemory memory;
  if (!PrepareMemory(options.eeprom_path, memory, error)) return Fail(error);

  vzt::PseudoTerminal terminal;
  if (!terminal.Open(error)) return Fail(error);
  const std::string link_path = LinkPath(options, error);
  if (link_path.empty()) return Fail(error);
  vzt::DeviceLink link;
  if (!link.Create(link_path, terminal.DevicePath(), error)) return Fail(error);
  std::printf("ecusim: device %s\necusim: link %s\n", terminal.DevicePath().c_str(),
              link_path.c_str());
  std::fflush(stdout);

  vzt::EcuController controller(options.identity, memory);
  controller.SetRefuseSessions(options.refuse_sessions);
  if (!options.eeprom_path.empty()) {
    controller.SetMemoryListener([&] {
      std::string save_error;
      if (!vzt::EepromFile(options.eeprom_path).Save(memory.Bytes(), save_error))
        std::fprintf(stderr, "ecusim: %s\n", save_error.c_str());
    });
  }

  vzt::SimulatorLoop loop(options, controller, terminal.ControllerFd());
  const vzt::SimulatorLoop::End end = loop.Run(stop_requested);
  link.Remove();
  terminal.Close();
  if (end == vzt::SimulatorLoop::End::kUnplugged) std::printf("ecusim: unplugged\n");
  return end == vzt::SimulatorLoop::End::kLineError ? Fail("the line failed") : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const vzt::ParsedOptions parsed = vzt::ParseSimulatorOptions(args);
  if (!parsed.options) {
    std::fprintf(stderr, "ecusim: %s\n(ecusim --help lists the options)\n",
                 parsed.error.c_str());
    return 2;
  }
  if (parsed.options->help) {
    std::fputs(vzt::SimulatorUsage().c_str(), stdout);
    return 0;
  }
  EndWithParent();
  InstallSignals();
  return Simulate(*parsed.options);
}
