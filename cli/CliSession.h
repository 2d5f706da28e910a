#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/TerminalHost.h"

namespace vzt {

class TSerialDataModule;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// One parsed command of the command line.
struct CliCommand {
  std::string name;
  std::vector<std::string> args;
  std::string format = "table";  // dump
  int count = 10;                // live
};

struct CliOptions {
  bool offline = false;
  std::string device;
  bool help = false;
  std::vector<CliCommand> commands;
};

// Parses the whole command line first, so that a mistake anywhere runs nothing.
// Returns false with a message in `error` on a usage mistake.
bool ParseCommandLine(const std::vector<std::string>& args, CliOptions& options, std::string& error);

std::string UsageText();

// Runs the commands in order on one data module and one connection; stops at the first
// that fails.
class CliSession {
 public:
  explicit CliSession(const CliOptions& options);
  ~CliSession();

  int Run();
  TSerialDataModule& Module() { return *module_; }

 private:
  int Execute(const CliCommand& c);
  bool EnsureConnected();
  void ReportConnectFailure(int result);
  int Info();
  int Dump(const std::string& format);
  int Get(const std::string& name);
  int Set(const std::string& name, const std::string& value);
  int Save(const std::string& file);
  int Load(const std::string& file);
  int Live(int count);
  int Decrypt(const std::string& file);
  int Encrypt(const std::string& plain, const std::string& file);
  int Diff(const std::string& a, const std::string& b);
  void SetUpLanguage();
  void RefreshLiveValues();

  CliOptions options_;
  TerminalHost host_;
  std::unique_ptr<TSerialDataModule> module_;
};

}  // namespace vzt
