#include "app/FormAttesa.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>
#include <QWindow>

#include "app/WaitAnimationClip.h"
#include "platform/widgets/AnimationPlayer.h"
#include "platform/widgets/ProgressFill.h"
#include "platform/widgets/WidgetScaler.h"

namespace vzt {

namespace {

// How long Show waits for the window system to put the new window on the screen.
constexpr int kExposeTimeoutMs = 300;
constexpr int kInitialProgress = 70;

// Once a wait window has been created, bringing the application back to the front also
// restores it from the minimized state. Closing a wait window removes that again.
QMetaObject::Connection& ActivationRestore() {
  static QMetaObject::Connection connection;
  return connection;
}

void RestoreMinimizedWindows(Qt::ApplicationState state) {
  if (state != Qt::ApplicationActive) return;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && (w->windowState() & Qt::WindowMinimized))
      w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
}

void InstallActivationRestore() {
  if (!ActivationRestore())
    ActivationRestore() = QObject::connect(qApp, &QGuiApplication::applicationStateChanged, qApp,
                                           &RestoreMinimizedWindows);
}

void RemoveActivationRestore() {
  QObject::disconnect(ActivationRestore());
  ActivationRestore() = {};
}

}  // namespace

TFormAttesa::TFormAttesa(int screenWidth, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("FormAttesa");
  // It only tells; the keyboard stays with the window the user works in.
  setAttribute(Qt::WA_ShowWithoutActivating);
  QFont font("Tahoma");
  font.setPixelSize(11);
  setFont(font);
  setFixedSize(kClientWidth, kClientHeight);
  CreateControls();
  ScaleForScreen(this, screenWidth > 0 ? screenWidth : PrimaryScreenSize().width());
  const QSize screen = PrimaryScreenSize();
  move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
  InstallActivationRestore();
}

TFormAttesa::~TFormAttesa() {
  // Where the window system made it active after all, the keyboard goes back to its owner.
  QWidget* owner = parentWidget();
  if (owner && isActiveWindow()) {
    hide();
    owner->activateWindow();
  }
}

void TFormAttesa::CreateControls() {
  label_ = new QLabel(this);
  label_->setObjectName("Label");
  label_->setAlignment(Qt::AlignCenter);
  label_->setGeometry(4, 6, kClientWidth - 8, 16);

  animate_ = new AnimationPlayer(this);
  animate_->setObjectName("Animate");
  animate_->SetClip(WaitAnimationFrames(), kWaitClipFrameMs);
  animate_->setGeometry((kClientWidth - kWaitClipWidth) / 2, 26, kWaitClipWidth, kWaitClipHeight);

  progress_fill_ = new ProgressFill(this);
  progress_fill_->setObjectName("LMDProgressFill");
  progress_fill_->SetBevel(ProgressFill::Bevel::Lowered);
  progress_fill_->SetGradientFill(QColor(255, 0, 0), QColor(81, 47, 60), kGradientBands);
  progress_fill_->SetPosition(kInitialProgress);
  progress_fill_->setGeometry((kClientWidth - 217) / 2, 62, 217, 25);

  label_completed_ = new QLabel(this);
  label_completed_->setObjectName("LabelCompleted");
  label_completed_->setAlignment(Qt::AlignCenter);
  label_completed_->setGeometry(4, 90, kClientWidth - 8, 16);
}

void TFormAttesa::SetCaption(const std::u16string& caption) {
  setWindowTitle(QString::fromStdU16String(caption));
}

void TFormAttesa::SetMessage(const std::u16string& message) {
  label_->setText(QString::fromStdU16String(message));
}

void TFormAttesa::StartAnimation() { animate_->Play(); }

void TFormAttesa::Show() {
  show();
  raise();
  // The work that follows keeps the event loop busy: wait until the window is on the
  // screen, so that painting it now reaches the screen.
  QElapsedTimer waited;
  waited.start();
  while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < kExposeTimeoutMs)
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
  PaintNow();
}

void TFormAttesa::ShowProgress(int position, const std::u16string& percentageLine) {
  progress_fill_->SetPosition(position);
  label_completed_->setText(QString::fromStdU16String(percentageLine));
  PaintNow();
}

void TFormAttesa::PaintNow() {
  if (isVisible()) repaint();
}

void TFormAttesa::closeEvent(QCloseEvent* event) {
  RemoveActivationRestore();
  QDialog::closeEvent(event);
}

}  // namespace vzt
