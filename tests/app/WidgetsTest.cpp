// The stand-ins for the status-bar and progress-fill pack, the animation player and the
// scaling of windows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <set>

#include "platform/widgets/AnimationPlayer.h"
#include "platform/widgets/PanelStatusBar.h"
#include "platform/widgets/ProgressFill.h"
#include "platform/widgets/WidgetScaler.h"

using namespace vzt;

namespace {

QColor PixelAt(QWidget& w, QPoint p) { return w.grab().toImage().pixelColor(p); }

// ------------------------------------------------------------------ status bar

TEST(PanelStatusBar, PanelsKeepTheirOwnTextAndColourAndTheLastTakesTheRest) {
  PanelStatusBar bar;
  bar.resize(800, 22);
  bar.AddPanel(500, PanelStatusBar::Bevel::Raised, Qt::red, "Centralina non connessa");
  bar.AddPanel(PanelStatusBar::kRestOfBar, PanelStatusBar::Bevel::Lowered, QColor(0, 128, 0));
  bar.SetPanelText(1, "PORT: USB");
  bar.SetPanelFontColor(0, QColor(0, 128, 0));
  EXPECT_EQ(bar.PanelText(0), "Centralina non connessa");
  EXPECT_EQ(bar.PanelText(1), "PORT: USB");
  EXPECT_EQ(bar.PanelFontColor(0), QColor(0, 128, 0));
  EXPECT_EQ(bar.PanelRect(0), QRect(0, 0, 500, 22));
  EXPECT_EQ(bar.PanelRect(1), QRect(500, 0, 300, 22));
  bar.resize(1000, 22);
  EXPECT_EQ(bar.PanelRect(1).width(), 500);
}

TEST(PanelStatusBar, PanelsThatDoNotExistAreIgnored) {
  PanelStatusBar bar;
  bar.AddPanel(100, PanelStatusBar::Bevel::None, Qt::black, "only");
  for (int index : {-1, 1, 7}) {
    bar.SetPanelText(index, "x");
    bar.SetPanelFontColor(index, Qt::blue);
    EXPECT_EQ(bar.PanelText(index), "");
    EXPECT_EQ(bar.PanelRect(index), QRect());
  }
  EXPECT_EQ(bar.PanelText(0), "only");
  EXPECT_EQ(bar.PanelFontColor(0), QColor(Qt::black));
}

TEST(PanelStatusBar, PanelTextIsDrawnInItsColour) {
  PanelStatusBar bar;
  bar.resize(300, 24);
  QFont font;
  font.setPixelSize(20);
  font.setBold(true);
  bar.setFont(font);
  bar.AddPanel(150, PanelStatusBar::Bevel::None, QColor(255, 0, 0), "WWWW");
  bar.AddPanel(PanelStatusBar::kRestOfBar, PanelStatusBar::Bevel::None, QColor(0, 0, 255), "WWWW");
  const QImage image = bar.grab().toImage();
  std::set<QRgb> left, right;
  for (int x = 0; x < 300; ++x)
    for (int y = 0; y < 24; ++y) (x < 150 ? left : right).insert(image.pixel(x, y) & 0xFFFFFF);
  EXPECT_TRUE(left.count(0xFF0000));
  EXPECT_FALSE(left.count(0x0000FF));
  EXPECT_TRUE(right.count(0x0000FF));
}

// ------------------------------------------------------------------ progress fill

TEST(ProgressFill, PositionStaysWithinNoughtToAHundred) {
  ProgressFill fill;
  fill.resize(102, 20);
  fill.SetBevel(ProgressFill::Bevel::Lowered);
  for (auto [set, kept] : {std::pair{40, 40}, {-5, 0}, {255, 100}, {100, 100}, {0, 0}}) {
    fill.SetPosition(set);
    EXPECT_EQ(fill.Position(), kept) << set;
    EXPECT_EQ(fill.FilledWidth(), kept) << set;  // 100 inner pixels
  }
}

TEST(ProgressFill, SquareLampIsLitAtFullAndDarkAtNought) {
  ProgressFill lamp;
  lamp.resize(40, 40);
  lamp.SetBackground(QColor(192, 192, 192));
  lamp.SetSolidFill(QColor(0, 255, 0));
  EXPECT_EQ(PixelAt(lamp, {20, 20}), QColor(192, 192, 192));
  lamp.SetPosition(100);
  EXPECT_EQ(PixelAt(lamp, {20, 20}), QColor(0, 255, 0));
  EXPECT_EQ(PixelAt(lamp, {38, 38}), QColor(0, 255, 0));
}

TEST(ProgressFill, GradientHasItsNumberOfBandsFromFirstToLastColour) {
  ProgressFill bar;
  bar.resize(217, 25);
  bar.SetGradientFill(QColor(255, 0, 0), QColor(81, 47, 60), 50);
  bar.SetPosition(100);
  const QImage image = bar.grab().toImage();
  std::set<QRgb> colours;
  for (int x = bar.InnerRect().left(); x <= bar.InnerRect().right(); ++x) colours.insert(image.pixel(x, 12));
  EXPECT_EQ(colours.size(), 50u);
  EXPECT_EQ(image.pixelColor(bar.InnerRect().left(), 12), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(bar.InnerRect().right(), 12), QColor(81, 47, 60));

  bar.SetPosition(40);
  const QImage partly = bar.grab().toImage();
  EXPECT_EQ(partly.pixelColor(bar.InnerRect().left(), 12), QColor(255, 0, 0)) << "the bands stay in place";
  EXPECT_NE(partly.pixelColor(bar.InnerRect().right(), 12), QColor(81, 47, 60));
}

// ------------------------------------------------------------------ animation

std::vector<QImage> Frames(int count) {
  std::vector<QImage> frames;
  for (int i = 0; i < count; ++i) {
    QImage frame(10, 10, QImage::Format_RGB32);
    frame.fill(QColor(i * 20, 0, 0));
    frames.push_back(frame);
  }
  return frames;
}

TEST(AnimationPlayer, FrameFollowsTheTimeAndLoops) {
  AnimationPlayer player;
  EXPECT_EQ(player.FrameAt(500), 0) << "no clip";
  player.SetClip(Frames(3), 100);
  for (auto [ms, frame] : {std::pair{0, 0}, {99, 0}, {100, 1}, {250, 2}, {300, 0}, {1234, 0}, {-5, 0}})
    EXPECT_EQ(player.FrameAt(ms), frame) << ms;
}

TEST(AnimationPlayer, StoppingKeepsTheFrameShown) {
  AnimationPlayer player;
  player.resize(10, 10);
  player.SetClip(Frames(3), 1000);
  player.Play();
  player.Stop();
  EXPECT_FALSE(player.Playing());
  EXPECT_EQ(player.CurrentFrame(), 0);
  EXPECT_EQ(PixelAt(player, {5, 5}), QColor(0, 0, 0));
}

// ------------------------------------------------------------------ scaling

TEST(WidgetScaler, ScalesPositionsSizesFontsAndPanelsOnce) {
  QWidget window;
  window.resize(400, 300);
  auto* box = new QWidget(&window);
  box->setGeometry(100, 50, 200, 100);
  auto* label = new QLabel("text", box);
  label->setGeometry(10, 10, 80, 20);
  QFont big;
  big.setPixelSize(48);
  label->setFont(big);
  auto* inherits = new QLabel("inherits", box);
  auto* bar = new PanelStatusBar(&window);
  bar->AddPanel(500, PanelStatusBar::Bevel::Raised, Qt::red);
  auto* dialog = new QDialog(&window);
  dialog->resize(100, 100);

  EXPECT_TRUE(ScaleForScreen(&window, 1024));
  EXPECT_EQ(window.size(), QSize(512, 384));
  EXPECT_EQ(box->geometry(), QRect(128, 64, 256, 128));
  EXPECT_EQ(label->geometry(), QRect(13, 13, 102, 26));
  EXPECT_EQ(label->font().pixelSize(), 61);
  EXPECT_FALSE(inherits->testAttribute(Qt::WA_SetFont)) << "keeps following its parent's font";
  EXPECT_EQ(bar->PanelWidth(0), 640);
  EXPECT_EQ(dialog->size(), QSize(100, 100)) << "a window inside scales itself";

  EXPECT_FALSE(ScaleForScreen(&window, 800));
  EXPECT_EQ(window.size(), QSize(512, 384));
}

TEST(WidgetScaler, FixedSizesScaleWithTheWindow) {
  QWidget window;
  window.setFixedSize(342, 110);
  ScaleWidgetTree(&window, 1024, 800);
  EXPECT_EQ(window.size(), QSize(438, 141));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
}

}  // namespace
