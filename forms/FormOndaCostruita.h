#pragma once

#include <QDialog>

#include <vector>

#include "platform/Component.h"
#include "platform/Resource.h"

namespace vzt {

class TSerialDataModule;
class TTranslator;

// The built wave's setup: the times the wave is high and low and the number of waves in
// bound boxes, and the time the probe stays disconnected in a free box whose value the
// dialog splits into the controller's two bytes on Enter. Every value reaches the controller
// as soon as it is confirmed; closing the dialog writes nothing.
class TFormOndaCostruita : public QDialog, public Component {
 public:
  explicit TFormOndaCostruita(TSerialDataModule& module, QWidget* parent = nullptr);
  ~TFormOndaCostruita() override;

  // The caption labels' texts in the translator's language.
  void ApplyTexts(TTranslator& translator);

  // The handlers the resource binds.
  void NumericEditSondaSconnessaKeyDown(Component* sender, int& key, Qt::KeyboardModifiers shift);
  void ButtonOKClick(Component* sender);
  void ButtonStandardClick(Component* sender);

  template <class T>
  T* Control(std::string_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  const std::vector<ResourceError>& ResourceErrors() const { return resource_errors_; }
  TSerialDataModule& Module() const { return module_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void InitialiseBoxes();
  void ShowDisconnectedTime();
  void WriteDisconnectedTime();
  bool LinkIsOpen() const;
  void CentreOnScreen();

  TSerialDataModule& module_;
  std::vector<ResourceError> resource_errors_;
};

}  // namespace vzt
