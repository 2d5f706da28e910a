#pragma once

#include <string_view>

namespace vzt {

// Where the configuration layer's messages go: the caller shows them to the user (a message
// box with the error icon), the configuration layer never shows anything itself.
class MessageSink {
 public:
  virtual void ShowMessage(std::u16string_view text, std::u16string_view caption) = 0;

 protected:
  ~MessageSink() = default;
};

}  // namespace vzt
