#include "Host.h"

namespace vzt {

void WaitWindow::SetProgress(int value, bool absolute) {
  position_ = absolute ? static_cast<std::uint8_t>(value)
                       : static_cast<std::uint8_t>(position_ + static_cast<std::uint8_t>(value));
  ShowProgress(position_, PercentageLine());
}

std::u16string WaitWindow::PercentageLine() const {
  std::u16string line;
  for (char c : std::to_string(position_)) line += static_cast<char16_t>(c);
  return line + u"% " + completed_;
}

}  // namespace vzt
