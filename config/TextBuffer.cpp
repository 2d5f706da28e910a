#include "TextBuffer.h"

#include <algorithm>

namespace vzt {

TextBuffer TextBuffer::FromText(std::string_view text) {
  std::vector<unsigned char> bytes(4 + text.size() + 1, 0);
  const auto n = static_cast<std::uint32_t>(text.size());
  for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<unsigned char>(n >> (8 * i));
  std::copy(text.begin(), text.end(), bytes.begin() + 4);
  return TextBuffer(std::move(bytes));
}

std::int32_t TextBuffer::DeclaredLength() const {
  if (bytes_.size() < 4) return -1;
  const std::uint32_t n = static_cast<std::uint32_t>(bytes_[0]) |
                          static_cast<std::uint32_t>(bytes_[1]) << 8 |
                          static_cast<std::uint32_t>(bytes_[2]) << 16 |
                          static_cast<std::uint32_t>(bytes_[3]) << 24;
  return static_cast<std::int32_t>(n);
}

std::string_view TextBuffer::Text() const {
  const std::int32_t n = DeclaredLength();
  if (n <= 0) return {};
  const std::size_t available = bytes_.size() - 4;
  const std::size_t take = std::min(static_cast<std::size_t>(n), available);
  return {reinterpret_cast<const char*>(bytes_.data() + 4), take};
}

}  // namespace vzt
