#pragma once

#include <cstdio>
#include <string>

#include "datamodule/Host.h"

namespace vzt {

std::string ToUtf8(std::u16string_view text);

// The data module's user interface on a terminal: messages and progress go to stderr,
// so that stdout carries only what a command prints.
class TerminalHost : public Host {
 public:
  explicit TerminalHost(std::FILE* out = stderr) : out_(out) {}

  MessageResult ShowMessageBox(MessageOwner owner, const std::u16string& text,
                               const std::u16string& caption, MessageIcon icon,
                               MessageButtons buttons) override;
  std::unique_ptr<WaitWindow> CreateWaitWindow() override;
  void SetBusyCursor(bool) override {}
  void UpdateOptionalFields() override {}
  void UpdateChangeoverFields() override {}
  void SetLamp(LampGroup, int, int) override {}
  void SetDefaultPositionColour(std::uint32_t) override {}

  int MessagesShown() const { return messages_; }

 private:
  std::FILE* out_;
  int messages_ = 0;
};

}  // namespace vzt
