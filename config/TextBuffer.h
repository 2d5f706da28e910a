#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vzt {

// INI text in memory as the configuration container hands it over: a 4-byte little-endian
// signed length n, the n text bytes, then a zero byte. The buffer knows its own size, so a
// length field that promises more than is there never leads to reading past the end.
class TextBuffer {
 public:
  TextBuffer() = default;
  // Takes raw bytes as they are (length field included), e.g. fresh from decryption.
  explicit TextBuffer(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}

  static TextBuffer FromText(std::string_view text);

  const std::vector<unsigned char>& Bytes() const { return bytes_; }
  std::size_t Size() const { return bytes_.size(); }

  // The length field, or -1 when there are fewer than 4 bytes.
  std::int32_t DeclaredLength() const;
  // The text the length field announces, cut to the bytes actually present (a negative
  // length gives an empty text).
  std::string_view Text() const;

 private:
  std::vector<unsigned char> bytes_;
};

}  // namespace vzt
