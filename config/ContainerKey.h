#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace vzt {

// A configuration container: the header text, 144 key bytes, then the RC4 ciphertext of the
// configuration's text, exactly as long as the text.
inline constexpr std::string_view kContainerHeader = "ENCRYPTED_FILE_V_01.01";
inline constexpr std::size_t kContainerKeySize = 144;
inline constexpr std::size_t kContainerPrefixSize = kContainerHeader.size() + kContainerKeySize;

// The key bytes: 16 selectors, then 8 candidates per selector.
inline constexpr std::size_t kContainerSelectorCount = 16;
inline constexpr std::size_t kContainerCandidatesPerSelector = 8;

using ContainerKey = std::array<unsigned char, kContainerKeySize>;

// The password the key bytes define: for each selector in order and each of its bits from
// the least significant up, the selector's candidate of that bit when the bit is set.
std::vector<unsigned char> ContainerPassword(const ContainerKey& key);

// Key bytes from the C library's generator seeded with `seed`: the low 8 bits of successive
// draws. Saves within the same second therefore get the same key bytes.
ContainerKey DrawContainerKey(unsigned seed);

}  // namespace vzt
