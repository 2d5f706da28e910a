#include "platform/widgets/AnimationPlayer.h"

#include <QPainter>
#include <algorithm>

namespace vzt {

AnimationPlayer::AnimationPlayer(QWidget* parent) : QWidget(parent) {
  connect(&ticker_, &QTimer::timeout, this, [this] { update(); });
}

void AnimationPlayer::SetClip(std::vector<QImage> frames, int frameMs) {
  frames_ = std::move(frames);
  frame_ms_ = std::max(1, frameMs);
  stopped_frame_ = 0;
  if (playing_) ticker_.start(frame_ms_);
  update();
}

void AnimationPlayer::Play() {
  playing_ = true;
  clock_.start();
  ticker_.start(frame_ms_);
  update();
}

void AnimationPlayer::Stop() {
  stopped_frame_ = CurrentFrame();
  playing_ = false;
  ticker_.stop();
}

int AnimationPlayer::FrameAt(qint64 elapsedMs) const {
  if (frames_.empty() || elapsedMs < 0) return 0;
  return static_cast<int>((elapsedMs / frame_ms_) % FrameCount());
}

int AnimationPlayer::CurrentFrame() const { return playing_ ? FrameAt(clock_.elapsed()) : stopped_frame_; }

QSize AnimationPlayer::sizeHint() const { return frames_.empty() ? QSize(0, 0) : frames_.front().size(); }

void AnimationPlayer::paintEvent(QPaintEvent*) {
  if (frames_.empty()) return;
  QPainter painter(this);
  const QImage& frame = Frame(CurrentFrame());
  const QPoint topLeft((width() - frame.width()) / 2, (height() - frame.height()) / 2);
  painter.drawImage(topLeft, frame);
}

}  // namespace vzt
