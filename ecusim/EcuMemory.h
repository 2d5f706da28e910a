#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace vzt {

// The controller's 256-byte configuration memory. Only addresses that some parameter owns
// can be read or written; the rest keep the erased value 0xFF.
class EcuMemory {
 public:
  static constexpr std::size_t kSize = 256;
  static constexpr std::uint8_t kErased = 0xFF;
  using Image = std::array<std::uint8_t, kSize>;

  EcuMemory();

  static Image FactoryImage();
  static bool IsDefined(unsigned address);

  std::optional<std::uint8_t> Read(unsigned address) const;
  // False for an address the controller does not define.
  bool Write(unsigned address, std::uint8_t value);
  void RestoreFactory();

  const Image& Bytes() const { return bytes_; }
  // Takes a whole image, as loaded from a file.
  void Assign(const Image& image) { bytes_ = image; }

 private:
  Image bytes_;
};

}  // namespace vzt
