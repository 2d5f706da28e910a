#include "config/ContainerKey.h"

#include <cstdlib>

namespace vzt {

std::vector<unsigned char> ContainerPassword(const ContainerKey& key) {
  std::vector<unsigned char> password;
  for (std::size_t selector = 0; selector < kContainerSelectorCount; ++selector) {
    const std::size_t firstCandidate =
        kContainerSelectorCount + selector * kContainerCandidatesPerSelector;
    for (std::size_t bit = 0; bit < kContainerCandidatesPerSelector; ++bit) {
      if ((key[selector] >> bit) & 1u) password.push_back(key[firstCandidate + bit]);
    }
  }
  return password;
}

ContainerKey DrawContainerKey(unsigned seed) {
  ContainerKey key{};
  std::srand(seed);
  for (unsigned char& byte : key) byte = static_cast<unsigned char>(std::rand() & 0xFF);
  return key;
}

}  // namespace vzt
