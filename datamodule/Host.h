#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "config/MessageSink.h"

namespace vzt {

enum class MessageIcon { Error, Warning, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageResult { Ok, Yes, No };
// Who owns a message box: the application window, the main window or the configuration window.
enum class MessageOwner { Application, MainWindow, ConfigWindow };

enum class LampGroup { Lambda, Throttle };

// The window shown while connecting, saving or loading. The progress position is a byte:
// adding wraps at 256, as the progress fill it stands for does.
class WaitWindow {
 public:
  virtual ~WaitWindow() = default;

  virtual void SetCaption(const std::u16string& caption) = 0;
  virtual void SetMessage(const std::u16string& message) = 0;
  virtual void StartAnimation() = 0;
  // Shows the window and paints it at once.
  virtual void Show() = 0;
  virtual bool IsVisible() const = 0;

  // Absolute: the position becomes value; otherwise value is added (8-bit arithmetic).
  // Then the percentage line reads "<position>% <completed text>".
  void SetProgress(int value, bool absolute);
  // The link's progress message: lparam nonzero adds wparam, zero sets it.
  void LinkProgress(unsigned wparam, long lparam) { SetProgress(static_cast<int>(wparam), lparam == 0); }
  int Position() const { return position_; }
  void SetCompletedText(const std::u16string& text) { completed_ = text; }
  std::u16string PercentageLine() const;

 protected:
  virtual void ShowProgress(int position, const std::u16string& percentageLine) = 0;

 private:
  std::uint8_t position_ = 70;  // what the bar shows until it is first set
  std::u16string completed_;
};

// Everything the data module needs from a user interface. The GUI implements it with
// windows, the command-line tool with the terminal, tests with a recording fake.
class Host : public MessageSink {
 public:
  virtual MessageResult ShowMessageBox(MessageOwner owner, const std::u16string& text,
                                       const std::u16string& caption, MessageIcon icon,
                                       MessageButtons buttons = MessageButtons::Ok) = 0;
  virtual std::unique_ptr<WaitWindow> CreateWaitWindow() = 0;
  // The application-starting cursor (arrow with hourglass) on or off.
  virtual void SetBusyCursor(bool busy) = 0;

  // The configuration window's hooks.
  virtual void UpdateOptionalFields() = 0;
  virtual void UpdateChangeoverFields() = 0;
  virtual void SetLamp(LampGroup group, int index, int percent) = 0;
  virtual void SetDefaultPositionColour(std::uint32_t rgb) = 0;

  // The container's own messages ("Errore") reach the user as error boxes.
  void ShowMessage(std::u16string_view text, std::u16string_view caption) override {
    ShowMessageBox(MessageOwner::Application, std::u16string(text), std::u16string(caption),
                   MessageIcon::Error);
  }

 protected:
  ~Host() = default;
};

}  // namespace vzt
