#include "platform/Crypto.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vzt {
namespace {

using Bytes = std::vector<unsigned char>;

std::string Hex(const Bytes& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  for (unsigned char byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

Bytes FromHex(std::string_view hex) {
  Bytes bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<unsigned char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return bytes;
}

Bytes FromText(std::string_view text) { return Bytes(text.begin(), text.end()); }

std::unique_ptr<CryptContext> Acquire() {
  auto acquired = SystemCrypto().AcquireContext("BVFCKM", 0);
  EXPECT_TRUE(acquired) << std::hex << acquired.error;
  return std::move(acquired.object);
}

std::unique_ptr<CryptHash> Md5(CryptContext& context) {
  auto created = context.CreateHash(kCalgMd5);
  EXPECT_TRUE(created) << std::hex << created.error;
  return std::move(created.object);
}

// An RC4 key of our choosing: the hash value is set to it, and the derived key is the value.
std::unique_ptr<CryptKey> Rc4Key(CryptContext& context, const Bytes& key) {
  auto hash = Md5(context);
  EXPECT_EQ(hash->SetValue(key), kCryptOk);
  auto derived = hash->DeriveKey(kCalgRc4, kDeriveKeyLength128);
  EXPECT_TRUE(derived) << std::hex << derived.error;
  return std::move(derived.object);
}

// The key stream: RC4 over zeros, in blocks of 255 as the configuration files use it.
Bytes KeyStream(CryptKey& key, std::size_t length) {
  Bytes stream(length, 0);
  for (std::size_t done = 0; done < length;) {
    const std::size_t size = std::min<std::size_t>(255, length - done);
    const bool final = done + size == length;
    EXPECT_EQ(key.Encrypt(final, std::span(stream).subspan(done, size)), kCryptOk);
    done += size;
  }
  return stream;
}

struct DigestCase {
  std::string_view message;
  std::string_view md5;
};

// The test suite of RFC 1321, appendix A.5.
const DigestCase kRfc1321Suite[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(CryptoMd5, MatchesTheRfc1321SuiteHashedInOneOrTwoPieces) {
  auto context = Acquire();
  for (const DigestCase& test : kRfc1321Suite) {
    SCOPED_TRACE(test.message);
    const Bytes message = FromText(test.message);
    auto whole = Md5(*context);
    ASSERT_EQ(whole->HashData(message), kCryptOk);
    Bytes digest;
    ASSERT_EQ(whole->GetValue(digest), kCryptOk);
    EXPECT_EQ(Hex(digest), test.md5);

    auto pieces = Md5(*context);
    const std::size_t half = message.size() / 2;
    ASSERT_EQ(pieces->HashData(std::span(message).first(half)), kCryptOk);
    ASSERT_EQ(pieces->HashData(std::span(message).subspan(half)), kCryptOk);
    ASSERT_EQ(pieces->GetValue(digest), kCryptOk);
    EXPECT_EQ(Hex(digest), test.md5);
  }
}

struct StreamCase {
  std::size_t offset;
  std::string_view keyStream;
};

// RFC 6229, section 2, key 0x0102030405060708090a0b0c0d0e0f10 (128 bits).
const StreamCase kRfc6229Key128[] = {
    {0, "9ac7cc9a609d1ef7b2932899cde41b97"},    {16, "5248c4959014126a6e8a84f11d1a9e1c"},
    {240, "065902e4b620f6cc36c8589f66432f2b"},  {256, "d39d566bc6bce3010768151549f3873f"},
    {496, "b6d1e6c4a5e4771cad79538df295fb11"},  {512, "c68c1d5c559a974123df1dbc52a43b89"},
    {752, "c5ecf88de897fd57fed301701b82a259"},  {768, "eccbe13de1fcc91c11a0b26c0bc8fa4d"},
    {1008, "e7a72574f8782ae26aabcf9ebcd66065"}, {1024, "bdf0324e6083dcc6d3cedd3ca8c53c16"},
    {1520, "b40110c4190b5622a96116b0017ed297"}, {1536, "ffa0b514647ec04f6306b892ae661181"},
    {2032, "d03d1bc03cd33d70dff9fa5d71963ebd"}, {2048, "8a44126411eaa78bd51e8d87a8879bf5"},
    {3056, "fabeb76028ade2d0e48722e46c4615a3"}, {3072, "c05d88abd50357f935a63c59ee537623"},
    {4080, "ff38265c1642c1abe8d3c2fe5e572bf8"}, {4096, "a36a4c301ae8ac13610ccbc12256cacc"},
};

TEST(CryptoRc4, KeyStreamInBlocksMatchesRfc6229) {
  auto context = Acquire();
  auto key = Rc4Key(*context, FromHex("0102030405060708090a0b0c0d0e0f10"));
  const Bytes stream = KeyStream(*key, 4112);
  for (const StreamCase& test : kRfc6229Key128) {
    SCOPED_TRACE(test.offset);
    const Bytes piece(stream.begin() + static_cast<long>(test.offset),
                      stream.begin() + static_cast<long>(test.offset + 16));
    EXPECT_EQ(Hex(piece), test.keyStream);
  }
}

TEST(CryptoRc4, FinalBlockEndsTheMessageAndTheNextStartsAfresh) {
  auto context = Acquire();
  auto key = Rc4Key(*context, FromHex("0102030405060708090a0b0c0d0e0f10"));
  const Bytes first = KeyStream(*key, 300);
  const Bytes second = KeyStream(*key, 300);
  EXPECT_EQ(Hex(Bytes(first.begin(), first.begin() + 16)), kRfc6229Key128[0].keyStream);
  EXPECT_EQ(first, second);
}

TEST(CryptoRc4, DecryptRestoresWhatEncryptMade) {
  auto context = Acquire();
  auto key = Rc4Key(*context, FromHex("00112233445566778899aabbccddeeff"));
  const Bytes plain = FromText("[CONFIGURAZIONE]\r\nTIPO ACCENSIONE=0\r\n");
  Bytes data = plain;
  ASSERT_EQ(key->Encrypt(true, data), kCryptOk);
  EXPECT_NE(data, plain);
  ASSERT_EQ(key->Decrypt(false, std::span(data).first(10)), kCryptOk);
  ASSERT_EQ(key->Decrypt(true, std::span(data).subspan(10)), kCryptOk);
  EXPECT_EQ(data, plain);
}

TEST(CryptoRc4, KeyDerivedFromHashedDataIsTheDigest) {
  auto context = Acquire();
  auto hash = Md5(*context);
  ASSERT_EQ(hash->HashData(FromText("abc")), kCryptOk);
  auto derived = hash->DeriveKey(kCalgRc4, kDeriveKeyLength128);
  ASSERT_TRUE(derived);
  auto direct = Rc4Key(*context, FromHex(kRfc1321Suite[2].md5));
  EXPECT_EQ(KeyStream(*derived.object, 64), KeyStream(*direct, 64));
}

TEST(CryptoObjects, HashAndKeyOutliveTheirContext) {
  std::unique_ptr<CryptHash> hash;
  std::unique_ptr<CryptKey> key;
  {
    auto context = Acquire();
    hash = Md5(*context);
    key = Rc4Key(*context, FromHex("0102030405060708090a0b0c0d0e0f10"));
  }
  EXPECT_EQ(hash->HashData(FromText("a")), kCryptOk);
  EXPECT_EQ(Hex(KeyStream(*key, 16)), kRfc6229Key128[0].keyStream);
}

TEST(CryptoErrors, EachStepRefusesWhatItDoesNotOffer) {
  EXPECT_EQ(SystemCrypto().AcquireContext("BVFCKM", 0x40).error, kNteBadFlags);
  EXPECT_TRUE(SystemCrypto().AcquireContext("BVFCKM", kCryptNewKeyset));

  auto context = Acquire();
  const auto sha1 = context->CreateHash(0x8004);
  EXPECT_FALSE(sha1);
  EXPECT_EQ(sha1.error, kNteBadAlgid);

  auto hash = Md5(*context);
  EXPECT_EQ(hash->SetValue(Bytes(15, 0)), kNteBadLen);
  EXPECT_EQ(hash->DeriveKey(0x6602, kDeriveKeyLength128).error, kNteBadAlgid);
  EXPECT_EQ(hash->DeriveKey(kCalgRc4, 40u << 16).error, kNteBadFlags);
  EXPECT_EQ(hash->DeriveKey(kCalgRc4, kDeriveKeyLength128 | 0x1).error, kNteBadFlags);
  EXPECT_TRUE(hash->DeriveKey(kCalgRc4, 0)) << "0 asks for the default length, 128 bits";
}

TEST(CryptoErrors, NoMoreDataAfterTheHashIsFinished) {
  auto context = Acquire();
  auto hash = Md5(*context);
  Bytes digest;
  ASSERT_EQ(hash->GetValue(digest), kCryptOk);
  EXPECT_EQ(hash->HashData(FromText("late")), kNteBadHashState);
  Bytes again;
  ASSERT_EQ(hash->GetValue(again), kCryptOk);
  EXPECT_EQ(again, digest);
}

// The legacy algorithms come from a loadable module; without it the service cannot be opened.
class CryptoWithoutModules : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* value = std::getenv("OPENSSL_MODULES")) saved_ = value;
    setenv("OPENSSL_MODULES", "/nonexistent/vzt-crypto-test", 1);
  }
  void TearDown() override {
    if (saved_) {
      setenv("OPENSSL_MODULES", saved_->c_str(), 1);
    } else {
      unsetenv("OPENSSL_MODULES");
    }
  }

 private:
  std::optional<std::string> saved_;
};

TEST_F(CryptoWithoutModules, AcquiringTheContextFailsAndSaysWhy) {
  const auto acquired = SystemCrypto().AcquireContext("BVFCKM", 0);
  EXPECT_FALSE(acquired);
  EXPECT_EQ(acquired.error, kNteProvDllNotFound);
}

}  // namespace
}  // namespace vzt
