#include "app/ConfigurationFileDialog.h"

#include <QDir>
#include <QFileDialog>

namespace vzt {

namespace {

// Files are saved as .vmx when the user types no extension, and older files carry .qcf:
// the list shows both, so that a file just saved can be found again.
const QString kFilter = QStringLiteral("File: (*.qcf *.vmx)");
const QString kDefaultExtension = QStringLiteral("vmx");
const QString kInitialFolder = QStringLiteral("Configurazioni");

}  // namespace

std::unique_ptr<QFileDialog> MakeConfigurationFileDialog(FileDialogKind kind, QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(parent);
  dialog->setNameFilter(kFilter);
  dialog->setDefaultSuffix(kDefaultExtension);
  dialog->setDirectory(QDir::current().filePath(kInitialFolder));
  if (kind == FileDialogKind::Save) {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
  }
  return dialog;
}

QString AskConfigurationFileName(FileDialogKind kind, QWidget* parent) {
  const std::unique_ptr<QFileDialog> dialog = MakeConfigurationFileDialog(kind, parent);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
  return dialog->selectedFiles().constFirst();
}

}  // namespace vzt
