// vzt905-cli: the service tool's core on the command line.

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliSession.h"
#include "datamodule/SerialDataModule.h"

namespace {
vzt::TSerialDataModule* current_module = nullptr;
}

// The communication library reports progress and link state through this hook.
extern "C" __attribute__((visibility("default"))) void SerQorHostMessage(unsigned msg,
                                                                        vzt::WParam wparam,
                                                                        vzt::LParam lparam) {
  if (current_module) current_module->LinkMessage(msg, wparam, lparam);
}

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  std::vector<std::string> args(argv + 1, argv + argc);
  vzt::CliOptions options;
  std::string error;
  if (!vzt::ParseCommandLine(args, options, error)) {
    std::fprintf(stderr, "vzt905-cli: %s\n\n%s", error.c_str(), vzt::UsageText().c_str());
    return vzt::kExitUsage;
  }
  if (options.help) {
    std::fputs(vzt::UsageText().c_str(), stdout);
    return vzt::kExitOk;
  }
  vzt::CliSession session(options);
  current_module = &session.Module();
  const int status = session.Run();
  current_module = nullptr;
  return status;
}
