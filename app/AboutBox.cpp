#include "app/AboutBox.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "platform/widgets/WidgetScaler.h"

namespace vzt {

namespace {

constexpr int kWidth = 298;
constexpr int kHeight = 290;
constexpr int kPictureWidth = 250;
constexpr int kPictureHeight = 110;

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& where) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setGeometry(where);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* owner, const QPixmap& picture, int screenWidth)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint) {
  setObjectName("AboutBox");
  setFixedSize(kWidth, kHeight);

  panel_ = new QFrame(this);
  panel_->setObjectName("Panel1");
  panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel_->setGeometry(8, 8, kWidth - 16, 230);

  about_image_ = MakeLabel(panel_, "AboutImage", QRect(16, 8, kPictureWidth, kPictureHeight));
  about_image_->setAlignment(Qt::AlignCenter);
  if (!picture.isNull())
    about_image_->setPixmap(picture.scaled(kPictureWidth, kPictureHeight, Qt::KeepAspectRatio,
                                           Qt::SmoothTransformation));

  product_name_ = MakeLabel(panel_, "ProductName", QRect(8, 124, kWidth - 32, 40));
  QFont bold = product_name_->font();
  bold.setBold(true);
  product_name_->setFont(bold);
  product_name_->setWordWrap(true);

  copyright_ = MakeLabel(panel_, "Copyright", QRect(8, 168, kWidth - 32, 32));
  copyright_->setWordWrap(true);
  copyright_->setText("Service tool for the gas lambda controller.\nFor authorised installers.");

  version_ = MakeLabel(panel_, "Version", QRect(8, 204, kWidth - 32, 18));

  ok_button_ = new QPushButton("OK", this);
  ok_button_->setObjectName("OKButton");
  ok_button_->setGeometry((kWidth - 75) / 2, 250, 75, 28);
  ok_button_->setDefault(true);
  connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);

  ScaleForScreen(this, screenWidth > 0 ? screenWidth : PrimaryScreenSize().width());
  const QSize screen = PrimaryScreenSize();
  move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}

void TAboutBox::SetProductName(const QString& name) {
  setWindowTitle(name);
  product_name_->setText(name);
}

void TAboutBox::SetVersionLine(const QString& word, const QString& version) {
  version_->setText(word + "  " + version);
}

}  // namespace vzt
