#pragma once

#include <QDialog>
#include <QMenu>
#include <memory>

#include "app/ConfigWindow.h"
#include "platform/widgets/PanelStatusBar.h"

namespace vzt {

class TSerialDataModule;

// Any window with the configuration window's methods as a ConfigWindow; it owns the window.
// The status bar and the popup menu are found by their names, LMDStatusBarMain and
// PopupMenuConfig.
template <class Form>
class ConfigWindowAdapter : public ConfigWindow {
 public:
  ConfigWindowAdapter(TSerialDataModule& module, QWidget* parent)
      : form_(std::make_unique<Form>(module, parent)) {}

  Form& Window() { return *form_; }

  QDialog& Dialog() override { return *form_; }
  int Exec() override { return form_->exec(); }
  void ApplyTexts(TTranslator& translator) override { form_->ApplyTexts(translator); }
  void LinkState(bool open, const std::u16string& portName) override { form_->LinkState(open, portName); }
  void SetConnectionText(const QString& text) override {
    if (auto* bar = form_->template findChild<PanelStatusBar*>("LMDStatusBarMain")) bar->SetPanelText(0, text);
  }
  QMenu* PopupMenu() override { return form_->template findChild<QMenu*>("PopupMenuConfig"); }
  void UpdateOptionalFields() override { form_->UpdateOptionalFields(); }
  void UpdateChangeoverFields() override { form_->UpdateChangeoverFields(); }
  void SetLamp(LampGroup group, int index, int percent) override { form_->SetLamp(group, index, percent); }
  void SetDefaultPositionColour(std::uint32_t rgb) override { form_->SetDefaultPositionColour(rgb); }

 private:
  std::unique_ptr<Form> form_;
};

}  // namespace vzt
