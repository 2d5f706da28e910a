#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace vzt {

// Plays a clip of frames in a loop, each frame for the same time. The frame shown follows
// the time since Play, so a repaint at any moment shows the right frame, also while the
// event loop is kept busy by a long operation that repaints its window now and then.
class AnimationPlayer : public QWidget {
 public:
  explicit AnimationPlayer(QWidget* parent = nullptr);

  void SetClip(std::vector<QImage> frames, int frameMs);
  int FrameCount() const { return static_cast<int>(frames_.size()); }
  int FrameMs() const { return frame_ms_; }
  const QImage& Frame(int index) const { return frames_.at(static_cast<std::size_t>(index)); }

  void Play();
  void Stop();
  bool Playing() const { return playing_; }

  // The frame shown `elapsedMs` after Play; 0 when there are no frames.
  int FrameAt(qint64 elapsedMs) const;
  int CurrentFrame() const;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<QImage> frames_;
  int frame_ms_ = 100;
  bool playing_ = false;
  int stopped_frame_ = 0;
  QElapsedTimer clock_;
  QTimer ticker_;
};

}  // namespace vzt
