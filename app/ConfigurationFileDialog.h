#pragma once

#include <QString>
#include <functional>
#include <memory>

class QFileDialog;
class QWidget;

namespace vzt {

enum class FileDialogKind { Save, Open };

// Asks for a configuration file's name; empty when the user cancelled.
using FileNameAsker = std::function<QString(FileDialogKind kind, QWidget* parent)>;

// The dialog with the settings both commands share: configuration files of either
// extension listed, "vmx" appended to a name typed without one, starting in
// "Configurazioni" under the current folder; the save dialog does not ask before replacing.
std::unique_ptr<QFileDialog> MakeConfigurationFileDialog(FileDialogKind kind, QWidget* parent);

// Shows that dialog modally.
QString AskConfigurationFileName(FileDialogKind kind, QWidget* parent);

}  // namespace vzt
