#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "datamodule/Host.h"

namespace vzt {

class ConfigWindow;

// The data module's user interface in the Qt windows: message boxes owned by the main or
// the configuration window, the wait window, the busy cursor, and the configuration
// window's hooks.
class QtHost : public Host {
 public:
  struct MessageBoxRequest {
    MessageOwner owner;
    QWidget* parent;  // the owning window, or null before it exists
    QString text;
    QString caption;
    MessageIcon icon;
    MessageButtons buttons;
  };
  // Shows a message box and returns the answer; tests record instead.
  using MessageBoxPresenter = std::function<MessageResult(const MessageBoxRequest&)>;

  QtHost();
  ~QtHost();

  void SetMainWindow(QWidget* window) { main_window_ = window; }
  void SetConfigWindow(ConfigWindow* window) { config_window_ = window; }
  void SetMessageBoxPresenter(MessageBoxPresenter presenter);
  // The screen width the wait window scales for; 0 for the primary screen's.
  void SetScreenWidth(int width) { screen_width_ = width; }

  // The modal message box of the toolkit.
  static MessageResult ExecMessageBox(const MessageBoxRequest& request);

  MessageResult ShowMessageBox(MessageOwner owner, const std::u16string& text,
                               const std::u16string& caption, MessageIcon icon,
                               MessageButtons buttons = MessageButtons::Ok) override;
  std::unique_ptr<WaitWindow> CreateWaitWindow() override;
  void SetBusyCursor(bool busy) override;
  bool BusyCursorShown() const { return busy_; }

  void UpdateOptionalFields() override;
  void UpdateChangeoverFields() override;
  void SetLamp(LampGroup group, int index, int percent) override;
  void SetDefaultPositionColour(std::uint32_t rgb) override;

 private:
  QWidget* Owner(MessageOwner owner) const;

  QPointer<QWidget> main_window_;
  ConfigWindow* config_window_ = nullptr;
  MessageBoxPresenter presenter_;
  int screen_width_ = 0;
  bool busy_ = false;
};

}  // namespace vzt
