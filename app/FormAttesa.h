#pragma once

#include <QDialog>

#include "datamodule/Host.h"

class QLabel;

namespace vzt {

class AnimationPlayer;
class ProgressFill;

// The wait window shown while connecting, saving and loading: a message line, the
// animation, a gradient progress bar and the percentage line. It has no close button; its
// owner destroys it when the work is done.
class TFormAttesa : public QDialog, public WaitWindow {
 public:
  // Client area as designed for an 800-pixel screen.
  static constexpr int kClientWidth = 342;
  static constexpr int kClientHeight = 110;
  // Colours of the progress bar's gradient.
  static constexpr int kGradientBands = 50;

  // screenWidth 0: the primary screen's.
  explicit TFormAttesa(int screenWidth = 0, QWidget* parent = nullptr);
  ~TFormAttesa() override;

  void SetCaption(const std::u16string& caption) override;
  void SetMessage(const std::u16string& message) override;
  void StartAnimation() override;
  void Show() override;
  bool IsVisible() const override { return isVisible(); }

  QLabel* Label() const { return label_; }
  AnimationPlayer* Animate() const { return animate_; }
  QLabel* LabelCompleted() const { return label_completed_; }
  ProgressFill* LMDProgressFill() const { return progress_fill_; }

 protected:
  void ShowProgress(int position, const std::u16string& percentageLine) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void PaintNow();

  QLabel* label_ = nullptr;
  AnimationPlayer* animate_ = nullptr;
  QLabel* label_completed_ = nullptr;
  ProgressFill* progress_fill_ = nullptr;
};

}  // namespace vzt
