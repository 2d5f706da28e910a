// The configuration file dialogs: a file saved under a name typed without an extension
// must be listed when the user looks for it again.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/ConfigurationFileDialog.h"

using namespace vzt;

namespace {

// The patterns of a filter such as "File: (*.qcf *.vmx)".
QStringList Patterns(const QString& filter) {
  const QRegularExpressionMatch match = QRegularExpression(R"(\(([^)]*)\))").match(filter);
  return match.captured(1).split(' ', Qt::SkipEmptyParts);
}

class FileDialogTest : public ::testing::TestWithParam<FileDialogKind> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    ASSERT_TRUE(QDir(folder_.path()).mkdir("Configurazioni"));
    previous_ = QDir::currentPath();
    QDir::setCurrent(folder_.path());
  }
  void TearDown() override { QDir::setCurrent(previous_); }

  QTemporaryDir folder_;
  QString previous_;
};

TEST_P(FileDialogTest, ListsBothExtensionsAndAddsVmxToABareName) {
  const auto dialog = MakeConfigurationFileDialog(GetParam(), nullptr);
  ASSERT_EQ(dialog->nameFilters().size(), 1);
  const QStringList patterns = Patterns(dialog->nameFilters().first());
  EXPECT_TRUE(QDir::match(patterns, "old.qcf"));
  EXPECT_TRUE(QDir::match(patterns, "saved." + dialog->defaultSuffix()));
  EXPECT_FALSE(QDir::match(patterns, "notes.txt"));
  EXPECT_EQ(dialog->defaultSuffix(), "vmx");
  EXPECT_EQ(QDir(dialog->directory()).canonicalPath(),
            QDir(folder_.path() + "/Configurazioni").canonicalPath());
}

TEST(FileDialog, SaveReplacesWithoutAskingAndOpenWantsAnExistingFile) {
  const auto save = MakeConfigurationFileDialog(FileDialogKind::Save, nullptr);
  EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
  EXPECT_TRUE(save->testOption(QFileDialog::DontConfirmOverwrite));
  const auto open = MakeConfigurationFileDialog(FileDialogKind::Open, nullptr);
  EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, FileDialogTest,
                         ::testing::Values(FileDialogKind::Save, FileDialogKind::Open),
                         [](const auto& info) { return info.param == FileDialogKind::Save ? "Save" : "Open"; });

}  // namespace
