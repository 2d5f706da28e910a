#include "app/QtHost.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

#include "app/ConfigWindow.h"
#include "app/FormAttesa.h"

namespace vzt {

namespace {

QMessageBox::Icon ToolkitIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QtHost::QtHost() : presenter_(&QtHost::ExecMessageBox) {}

QtHost::~QtHost() {
  if (busy_ && QCoreApplication::instance()) QApplication::restoreOverrideCursor();
}

void QtHost::SetMessageBoxPresenter(MessageBoxPresenter presenter) {
  presenter_ = presenter ? std::move(presenter) : MessageBoxPresenter(&QtHost::ExecMessageBox);
}

MessageResult QtHost::ExecMessageBox(const MessageBoxRequest& request) {
  QMessageBox box(ToolkitIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                  request.parent);
  if (request.buttons == MessageButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);  // the careful answer
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  const int answer = box.exec();
  if (request.buttons == MessageButtons::Ok) return MessageResult::Ok;
  return answer == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
}

QWidget* QtHost::Owner(MessageOwner owner) const {
  if (owner == MessageOwner::ConfigWindow && config_window_) return &config_window_->Dialog();
  return main_window_;
}

MessageResult QtHost::ShowMessageBox(MessageOwner owner, const std::u16string& text,
                                     const std::u16string& caption, MessageIcon icon,
                                     MessageButtons buttons) {
  // A box asked for while the busy cursor shows gets the normal one for its answer.
  const bool wasBusy = busy_;
  if (wasBusy) QApplication::restoreOverrideCursor();
  const MessageResult answer = presenter_({owner, Owner(owner), QString::fromStdU16String(text),
                                           QString::fromStdU16String(caption), icon, buttons});
  if (wasBusy) QApplication::setOverrideCursor(Qt::BusyCursor);
  return answer;
}

std::unique_ptr<WaitWindow> QtHost::CreateWaitWindow() {
  // It stands above the window the user works in: the modal one when there is one.
  QWidget* above = QApplication::activeModalWidget();
  return std::make_unique<TFormAttesa>(screen_width_, above ? above : main_window_.data());
}

void QtHost::SetBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::BusyCursor);  // the arrow with the hourglass
  else
    QApplication::restoreOverrideCursor();
}

void QtHost::UpdateOptionalFields() {
  if (config_window_) config_window_->UpdateOptionalFields();
}

void QtHost::UpdateChangeoverFields() {
  if (config_window_) config_window_->UpdateChangeoverFields();
}

void QtHost::SetLamp(LampGroup group, int index, int percent) {
  if (config_window_) config_window_->SetLamp(group, index, percent);
}

void QtHost::SetDefaultPositionColour(std::uint32_t rgb) {
  if (config_window_) config_window_->SetDefaultPositionColour(rgb);
}

}  // namespace vzt
