#include "cli/TerminalHost.h"

#include <unistd.h>

namespace vzt {

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a lone surrogate
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

namespace {

// The wait window as one progress line, redrawn in place on a terminal.
class ProgressLine : public WaitWindow {
 public:
  explicit ProgressLine(std::FILE* out) : out_(out), tty_(::isatty(::fileno(out)) != 0) {}
  ~ProgressLine() override {
    if (shown_ && tty_) std::fputc('\n', out_);
  }
  void SetCaption(const std::u16string& caption) override { caption_ = ToUtf8(caption); }
  void SetMessage(const std::u16string& message) override { message_ = ToUtf8(message); }
  void StartAnimation() override {}
  void Show() override { shown_ = true; }
  bool IsVisible() const override { return shown_; }

 protected:
  void ShowProgress(int position, const std::u16string& line) override {
    // Off a terminal a line per tenth of the way is enough.
    if (!tty_ && (position / 10 == last_tenth_ || position % 10 != 0)) return;
    last_tenth_ = position / 10;
    std::fprintf(out_, tty_ ? "\r%s %s %s\033[K" : "%s %s %s\n", caption_.c_str(),
                 message_.c_str(), ToUtf8(line).c_str());
    std::fflush(out_);
  }

 private:
  std::FILE* out_;
  bool tty_;
  bool shown_ = false;
  int last_tenth_ = -1;
  std::string caption_, message_;
};

}  // namespace

MessageResult TerminalHost::ShowMessageBox(MessageOwner, const std::u16string& text,
                                           const std::u16string& caption, MessageIcon icon,
                                           MessageButtons buttons) {
  ++messages_;
  const char* kind = icon == MessageIcon::Error     ? "error"
                     : icon == MessageIcon::Warning ? "warning"
                                                    : "note";
  std::fprintf(out_, "%s: %s: %s\n", kind, ToUtf8(caption).c_str(), ToUtf8(text).c_str());
  // Nobody answers a question here: the careful answer.
  return buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
}

std::unique_ptr<WaitWindow> TerminalHost::CreateWaitWindow() {
  return std::make_unique<ProgressLine>(out_);
}

}  // namespace vzt
