#include "config/ContainerKey.h"

#include <gtest/gtest.h>

#include <numeric>

namespace vzt {
namespace {

// Key bytes whose candidates are all different, so a wrong pick is visible.
ContainerKey KeyWithSelectors(std::initializer_list<std::pair<std::size_t, unsigned char>> selectors) {
  ContainerKey key{};
  std::iota(key.begin() + kContainerSelectorCount, key.end(), static_cast<unsigned char>(0x10));
  for (const auto& [index, value] : selectors) key[index] = value;
  return key;
}

TEST(ContainerPassword, SetSelectorBitsPickTheirCandidatesInOrder) {
  struct Case {
    const char* what;
    ContainerKey key;
    std::vector<unsigned char> password;
  };
  const Case cases[] = {
      {"all selectors zero", KeyWithSelectors({}), {}},
      {"K[0] = 0x81 takes K[16] then K[23]", KeyWithSelectors({{0, 0x81}}), {0x10, 0x17}},
      {"last bit of the last selector takes K[143]", KeyWithSelectors({{15, 0x80}}), {0x8F}},
      {"selectors in order, bits from the lowest", KeyWithSelectors({{1, 0x0A}, {2, 0x01}}),
       {0x19, 0x1B, 0x20}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    EXPECT_EQ(ContainerPassword(test.key), test.password);
  }
}

TEST(ContainerPassword, AllSelectorBitsSetTakeEveryCandidate) {
  ContainerKey key = KeyWithSelectors({});
  std::fill(key.begin(), key.begin() + kContainerSelectorCount, 0xFF);
  const std::vector<unsigned char> password = ContainerPassword(key);
  EXPECT_EQ(password, std::vector<unsigned char>(key.begin() + kContainerSelectorCount, key.end()));
}

TEST(DrawContainerKey, SameSeedSameBytesOtherSeedOtherBytes) {
  EXPECT_EQ(DrawContainerKey(1700000000u), DrawContainerKey(1700000000u));
  EXPECT_NE(DrawContainerKey(1700000000u), DrawContainerKey(1700000001u));
}

}  // namespace
}  // namespace vzt
