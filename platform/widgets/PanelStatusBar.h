#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

namespace vzt {

// A status bar of text panels, each with its own width, bevel, text and font colour. The
// last panel takes whatever width is left. Panels are addressed by index; an index that does
// not exist is ignored by the setters and reads as empty.
class PanelStatusBar : public QWidget {
 public:
  enum class Bevel { None, Raised, Lowered };

  // Takes the rest of the bar's width.
  static constexpr int kRestOfBar = -1;

  explicit PanelStatusBar(QWidget* parent = nullptr);

  int AddPanel(int width, Bevel bevel, const QColor& fontColor, const QString& text = {});
  int PanelCount() const { return static_cast<int>(panels_.size()); }

  QString PanelText(int index) const;
  void SetPanelText(int index, const QString& text);
  QColor PanelFontColor(int index) const;
  void SetPanelFontColor(int index, const QColor& color);
  int PanelWidth(int index) const;
  void SetPanelWidth(int index, int width);
  // Where the panel is drawn in the bar now.
  QRect PanelRect(int index) const;

  // Panel widths follow the window when it is scaled.
  void ScalePanels(int numerator, int denominator);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Panel {
    int width;
    Bevel bevel;
    QColor fontColor;
    QString text;
  };
  bool Valid(int index) const { return index >= 0 && index < PanelCount(); }

  std::vector<Panel> panels_;
};

}  // namespace vzt
