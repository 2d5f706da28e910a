#pragma once

#include <QColor>
#include <QWidget>

namespace vzt {

// A progress fill: a bevelled box filled from the left up to its position (0 to 100
// percent), with one solid colour or with a horizontal gradient of a fixed number of colour
// bands across the whole box. Square and solid it serves as an on/off lamp: lit at 100,
// dark at 0.
class ProgressFill : public QWidget {
 public:
  enum class Bevel { None, Raised, Lowered };

  static constexpr int kMinPosition = 0;
  static constexpr int kMaxPosition = 100;

  explicit ProgressFill(QWidget* parent = nullptr);

  // Positions outside 0 to 100 are held at the nearer end.
  void SetPosition(int percent);
  int Position() const { return position_; }

  void SetSolidFill(const QColor& color);
  // `bands` colours stepping evenly from `from` to `to` (at least 2).
  void SetGradientFill(const QColor& from, const QColor& to, int bands);
  void SetBackground(const QColor& color);
  void SetBevel(Bevel bevel);

  // The colour the fill has at column x of the inner box when it reaches there.
  QColor FillColorAt(int x) const;
  // The inner box, inside the bevel.
  QRect InnerRect() const;
  // Width of the filled part of the inner box.
  int FilledWidth() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int BandAt(int x) const;
  QColor BandColour(int band) const;

  int position_ = kMinPosition;
  bool gradient_ = false;
  QColor fill_ = Qt::blue;
  QColor gradient_to_ = Qt::blue;
  int bands_ = 2;
  QColor background_;
  Bevel bevel_ = Bevel::Lowered;
};

}  // namespace vzt
