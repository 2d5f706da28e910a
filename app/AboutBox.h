#pragma once

#include <QDialog>
#include <QPixmap>

class QFrame;
class QLabel;
class QPushButton;

namespace vzt {

// The about box: a bevelled panel with the picture, the product name, a notice and the
// version line, and an OK button below it.
class TAboutBox : public QDialog {
 public:
  // screenWidth 0: the primary screen's. A null picture leaves the picture empty.
  TAboutBox(QWidget* owner, const QPixmap& picture, int screenWidth = 0);

  // Caption and product name: the main window's caption.
  void SetProductName(const QString& name);
  // "<word> " + " " + version, the word being the translated "Version".
  void SetVersionLine(const QString& word, const QString& version);

  QLabel* AboutImage() const { return about_image_; }
  QLabel* ProductName() const { return product_name_; }
  QLabel* Copyright() const { return copyright_; }
  QLabel* Version() const { return version_; }
  QPushButton* OKButton() const { return ok_button_; }

 private:
  QFrame* panel_ = nullptr;
  QLabel* about_image_ = nullptr;
  QLabel* product_name_ = nullptr;
  QLabel* copyright_ = nullptr;
  QLabel* version_ = nullptr;
  QPushButton* ok_button_ = nullptr;
};

}  // namespace vzt
