#include "app/ApplyInterfaceTexts.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

#include "app/ConfigWindow.h"
#include "app/FormMain.h"
#include "components/translator/Translator.h"
#include "datamodule/SerialDataModule.h"

namespace vzt {

namespace {

// Which text goes where in the main window, in the order they are written.
struct TextRow {
  int id;
  const char* target;
};
constexpr TextRow kMainWindowTexts[] = {
    {1, "FormMain"},           // the window's caption
    {2, "LabelMenu"},          //
    {3, "LabelConfVettura"},   //
    {4, "LabelLoadFile"},      //
    {5, "LabelDownLoadFile"},  //
    {6, "LabelUscita"},
};
// The menu bar: the entries under the menus show their actions' captions.
constexpr TextRow kMainMenuTexts[] = {
    {11, "MenuFile"},          {13, "ActionEsci"},       {12, "MenuComunicazione"},
    {14, "ActionConnect"},     {15, "ActionDisconnect"}, {7, "MenuAiuto"},
    {8, "ActionAbout"},
};

void SetCaption(TFormMain& window, const char* target, const QString& text) {
  if (window.objectName() == target) {
    window.setWindowTitle(text);
  } else if (auto* label = window.findChild<QLabel*>(target)) {
    label->setText(text);
  } else if (auto* menu = window.findChild<QMenu*>(target)) {
    menu->setTitle(text);
  } else if (auto* action = window.findChild<QAction*>(target)) {
    action->setText(text);
  }
}

template <std::size_t N>
void ApplyRows(TTranslator& translator, TFormMain& window, const TextRow (&rows)[N]) {
  for (const TextRow& row : rows)
    SetCaption(window, row.target, QString::fromStdU16String(translator.GetString(row.id, 0)));
}

}  // namespace

void ApplyInterfaceTexts(TSerialDataModule& module, TFormMain& mainWindow, ConfigWindow* configWindow) {
  TTranslator& translator = *module.Translator();
  ApplyRows(translator, mainWindow, kMainWindowTexts);
  ApplyRows(translator, mainWindow, kMainMenuTexts);
  module.LoadSharedTexts();
  if (configWindow) configWindow->ApplyTexts(translator);
  module.RefreshControls();
}

}  // namespace vzt
