#include "config/Container.h"

#include "config/ContainerKey.h"
#include "config/ContainerTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vzt {
namespace {

using test::Bytes;
using test::ReadFile;
using test::SampleText;
using test::WriteFile;

// The openssl command-line tool is the independent implementation of MD5 and RC4 that the
// containers are checked against, in both directions.
constexpr const char* kOpenssl = "/usr/bin/openssl";

class ContainerOpensslTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kOpenssl)) GTEST_SKIP() << kOpenssl << " is missing";
  }

  static bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

  std::string Md5Hex(const Bytes& data) {
    const auto input = folder_ / "md5.in";
    const auto output = folder_ / "md5.out";
    WriteFile(input, data);
    EXPECT_TRUE(Run(std::string(kOpenssl) + " dgst -md5 -binary -out " + output.string() + " " + input.string()));
    std::string hex;
    for (unsigned char byte : ReadFile(output)) {
      char digits[3];
      std::snprintf(digits, sizeof digits, "%02x", byte);
      hex += digits;
    }
    EXPECT_EQ(hex.size(), 32u);
    return hex;
  }

  // RC4 over `data` with the given key in hex; enciphering and deciphering are the same.
  Bytes Rc4(const Bytes& data, const std::string& keyHex, bool decipher) {
    const auto input = folder_ / "rc4.in";
    const auto output = folder_ / "rc4.out";
    WriteFile(input, data);
    EXPECT_TRUE(Run(std::string(kOpenssl) + " enc " + (decipher ? "-d " : "") + "-rc4 -nosalt -K " + keyHex +
                    " -provider legacy -provider default -in " + input.string() + " -out " + output.string()));
    return ReadFile(output);
  }

  test::TempFolder folder_;
  test::RecordingMessages messages_;
};

TEST_F(ContainerOpensslTest, ContainerFromEncryptDecryptsWithOpenssl) {
  const auto plain = folder_ / "plain.ini";
  const auto container = folder_ / "config.qcf";
  for (const std::size_t length : {0u, 255u, 256u, 510u, 3000u}) {
    SCOPED_TRACE(length);
    const Bytes text = SampleText(length);
    WriteFile(plain, text);
    ASSERT_TRUE(encrypt(plain, container, messages_));
    const Bytes file = ReadFile(container);
    ASSERT_EQ(file.size(), kContainerPrefixSize + length);
    ContainerKey key{};
    std::copy(file.begin() + 22, file.begin() + 166, key.begin());
    const std::string keyHex = Md5Hex(ContainerPassword(key));
    EXPECT_EQ(Rc4(Bytes(file.begin() + 166, file.end()), keyHex, true), text);
  }
}

// Containers put together by hand around ciphertext from openssl, with the key bytes chosen
// to give an empty password and a two-byte one.
TEST_F(ContainerOpensslTest, ContainerMadeWithOpensslDecrypts) {
  struct Case {
    const char* what;
    unsigned char selector0;
    Bytes password;
  };
  const Case cases[] = {
      {"all selectors zero: empty password", 0x00, {}},
      {"K[0] = 0x81: password K[16], K[23]", 0x81, {0xA0, 0xA7}},
  };
  const auto container = folder_ / "made.qcf";
  const Bytes text = SampleText(700);
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    Bytes key(kContainerKeySize, 0);
    for (std::size_t i = kContainerSelectorCount; i < key.size(); ++i) key[i] = static_cast<unsigned char>(0x90 + i);
    key[0] = test.selector0;
    const std::string keyHex = Md5Hex(test.password);
    if (test.password.empty()) {
      EXPECT_EQ(keyHex, "d41d8cd98f00b204e9800998ecf8427e");
    }

    const Bytes header(kContainerHeader.begin(), kContainerHeader.end());
    WriteFile(container, test::Concat(test::Concat(header, key), Rc4(text, keyHex, false)));
    TextBuffer buffer;
    ASSERT_TRUE(decrypt(container, buffer));
    EXPECT_EQ(Bytes(buffer.Text().begin(), buffer.Text().end()), text);
  }
}

}  // namespace
}  // namespace vzt
