#include "config/Container.h"

#include "config/ContainerKey.h"
#include "config/ContainerTestSupport.h"
#include "config/ScriptedCrypto.h"

#include <gtest/gtest.h>

#include <ctime>

namespace vzt {
namespace {

using test::Bytes;
using test::ReadFile;
using test::SampleText;
using test::WriteFile;
using Step = test::ScriptedCrypto::Step;

const Bytes kHeader(kContainerHeader.begin(), kContainerHeader.end());

class ContainerTest : public ::testing::Test {
 protected:
  // A container made by encrypt from `text`, checked to have been made.
  Bytes MakeContainer(const Bytes& text) {
    WriteFile(plain_, text);
    EXPECT_TRUE(encrypt(plain_, container_, messages_));
    return ReadFile(container_);
  }

  test::TempFolder folder_;
  std::filesystem::path plain_ = folder_ / "plain.ini";
  std::filesystem::path container_ = folder_ / "config.qcf";
  test::RecordingMessages messages_;
};

TEST_F(ContainerTest, RoundTripKeepsEveryLengthAcrossTheBlockBoundaries) {
  for (const std::size_t length : {0u, 1u, 255u, 256u, 510u, 511u, 4000u}) {
    SCOPED_TRACE(length);
    WriteFile(container_, Bytes(10000, 0xEE));
    const Bytes text = SampleText(length);
    const Bytes file = MakeContainer(text);

    ASSERT_EQ(file.size(), kContainerPrefixSize + length) << "an existing file is replaced whole";
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 22), kHeader);
    if (length > 0) {
      EXPECT_NE(Bytes(file.begin() + 166, file.end()), text);
    }

    TextBuffer buffer;
    ASSERT_TRUE(decrypt(container_, buffer));
    EXPECT_EQ(buffer.DeclaredLength(), static_cast<std::int32_t>(length));
    EXPECT_EQ(buffer.Size(), length + 5) << "length field, text and the zero byte";
    EXPECT_EQ(Bytes(buffer.Text().begin(), buffer.Text().end()), text);
  }
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(folder_.Names(), (std::set<std::string>{"plain.ini", "config.qcf"}));
}

TEST_F(ContainerTest, SavesWithinOneSecondDrawTheSameKeyAndGiveIdenticalFiles) {
  WriteFile(plain_, SampleText(300));
  const auto second = folder_ / "second.qcf";
  for (int attempt = 0; attempt < 5; ++attempt) {
    const std::time_t before = std::time(nullptr);
    ASSERT_TRUE(encrypt(plain_, container_, messages_));
    ASSERT_TRUE(encrypt(plain_, second, messages_));
    if (std::time(nullptr) != before) continue;
    const Bytes first = ReadFile(container_);
    EXPECT_EQ(first, ReadFile(second));
    const ContainerKey drawn = DrawContainerKey(static_cast<unsigned>(before));
    EXPECT_EQ(Bytes(first.begin() + 22, first.begin() + 166), Bytes(drawn.begin(), drawn.end()));
    return;
  }
  FAIL() << "no two saves fell within one second";
}

TEST_F(ContainerTest, EncryptWithoutAPlainFileOrAWritableTargetFailsQuietly) {
  WriteFile(plain_, SampleText(10));
  std::filesystem::create_directory(folder_ / "folder.qcf");
  struct Case {
    const char* what;
    std::filesystem::path plain;
    std::filesystem::path target;
    ContainerFault fault;
  };
  const Case cases[] = {
      {"missing plain file", folder_ / "missing.ini", container_, ContainerFault::FileMissing},
      {"plain file is a folder", folder_.Path(), container_, ContainerFault::CannotRead},
      {"target folder missing", plain_, folder_ / "missing" / "x.qcf", ContainerFault::CannotWrite},
      {"target is a folder", plain_, folder_ / "folder.qcf", ContainerFault::CannotWrite},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    EXPECT_EQ(encrypt(test.plain, test.target, messages_).fault, test.fault);
  }
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(folder_.Names(), (std::set<std::string>{"plain.ini", "folder.qcf"}));
}

TEST_F(ContainerTest, PlainTextBeyondAnyConfigurationIsRefused) {
  WriteFile(container_, Bytes{'o', 'l', 'd'});
  WriteFile(plain_, {});
  std::filesystem::resize_file(plain_, kMaxConfigurationSize + 1);
  EXPECT_EQ(encrypt(plain_, container_, messages_).fault, ContainerFault::TooLarge);
  EXPECT_EQ(ReadFile(container_), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(folder_.Names(), (std::set<std::string>{"plain.ini", "config.qcf"}));
}

// Each failing step of the cryptography service shows its own message and leaves the
// previous file as it was, with no leftovers beside it.
TEST_F(ContainerTest, EncryptCryptoFailuresShowTheirMessageAndKeepThePreviousFile) {
  struct Case {
    Step step;
    int failingBlock;
    std::u16string message;
    ContainerFault fault;
    std::vector<std::uint32_t> acquireFlags;
  };
  const Case cases[] = {
      {Step::Acquire, 0, u"Error during CryptAcquireContext!", ContainerFault::AcquireContext, {0}},
      {Step::AcquireNew, 0, u"Error during new CryptAcquireContext!", ContainerFault::NewAcquireContext,
       {0, kCryptNewKeyset}},
      {Step::CreateHash, 0, u"Error during CryptCreateHash!", ContainerFault::CreateHash, {0}},
      {Step::HashData, 0, u"Error during CryptHashData!", ContainerFault::HashData, {0}},
      {Step::DeriveKey, 0, u"Error during CryptDeriveKey!", ContainerFault::DeriveKey, {0}},
      {Step::Crypt, 0, u"Error during Crypt.", ContainerFault::Crypt, {0}},
      {Step::Crypt, 2, u"Error during Crypt.", ContainerFault::Crypt, {0}},
  };
  const Bytes previous = MakeContainer(SampleText(40));
  WriteFile(plain_, SampleText(600));
  for (const Case& test : cases) {
    SCOPED_TRACE(std::string(DescribeContainerFault(test.fault)) + ", block " + std::to_string(test.failingBlock));
    test::ScriptedCrypto crypto(test.step, kNteFail, test.failingBlock);
    test::RecordingMessages messages;
    EXPECT_EQ(encrypt(plain_, container_, messages, crypto).fault, test.fault);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, test.message);
    EXPECT_EQ(messages.shown[0].second, u"Errore");
    EXPECT_EQ(crypto.Result().acquireFlags, test.acquireFlags);
    EXPECT_EQ(ReadFile(container_), previous);
    EXPECT_EQ(folder_.Names(), (std::set<std::string>{"plain.ini", "config.qcf"}));
  }
}

TEST_F(ContainerTest, MissingKeyContainerIsCreatedAndTheSaveGoesOn) {
  WriteFile(plain_, SampleText(100));
  test::ScriptedCrypto crypto(Step::Acquire, kNteBadKeyset);
  ASSERT_TRUE(encrypt(plain_, container_, messages_, crypto));
  EXPECT_EQ(crypto.Result().acquireFlags, (std::vector<std::uint32_t>{0, kCryptNewKeyset}));
  EXPECT_TRUE(messages_.shown.empty());
  TextBuffer buffer;
  ASSERT_TRUE(decrypt(container_, buffer, crypto));
  EXPECT_EQ(Bytes(buffer.Text().begin(), buffer.Text().end()), SampleText(100));
}

// Files that are not whole containers: each is told apart, and the caller's buffer stays.
TEST_F(ContainerTest, DecryptRejectsWhatIsNotAWholeContainer) {
  const Bytes good = MakeContainer(SampleText(300));
  std::filesystem::create_directory(folder_ / "folder.qcf");
  struct Case {
    const char* what;
    std::optional<Bytes> content;  // none: the file is not there
    ContainerFault fault;
  };
  const Case cases[] = {
      {"missing file", std::nullopt, ContainerFault::FileMissing},
      {"empty file", Bytes{}, ContainerFault::ShorterThanHeader},
      {"header cut short", Bytes(kHeader.begin(), kHeader.end() - 1), ContainerFault::ShorterThanHeader},
      {"header only", kHeader, ContainerFault::TruncatedKey},
      {"key bytes cut short", Bytes(good.begin(), good.begin() + 165), ContainerFault::TruncatedKey},
  };
  const auto path = folder_ / "input.qcf";
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    std::filesystem::remove(path);
    if (test.content) WriteFile(path, *test.content);
    TextBuffer buffer = TextBuffer::FromText("previous");
    EXPECT_EQ(decrypt(path, buffer).fault, test.fault);
    EXPECT_EQ(buffer.Text(), "previous");
  }
  TextBuffer buffer;
  EXPECT_EQ(decrypt(folder_ / "folder.qcf", buffer).fault, ContainerFault::CannotRead);
}

// Only the header's length matters: another header text is skipped like ours.
TEST_F(ContainerTest, DecryptSkipsTheHeaderTextWithoutComparingIt) {
  Bytes other = MakeContainer(SampleText(300));
  other[0] = 'X';
  other[21] = '2';
  WriteFile(container_, other);
  TextBuffer buffer;
  ASSERT_TRUE(decrypt(container_, buffer));
  EXPECT_EQ(Bytes(buffer.Text().begin(), buffer.Text().end()), SampleText(300));
}

TEST_F(ContainerTest, DecryptRefusesCiphertextBeyondAnyConfiguration) {
  const Bytes good = MakeContainer({});
  std::filesystem::resize_file(container_, kContainerPrefixSize + kMaxConfigurationSize + 1);
  TextBuffer buffer;
  EXPECT_EQ(decrypt(container_, buffer).fault, ContainerFault::TooLarge);
  EXPECT_EQ(buffer.Size(), 0u);
}

// The length field comes from the file's size; a file that changes while it is read no
// longer matches it and is refused.
TEST_F(ContainerTest, DecryptRefusesAFileThatChangesWhileItIsRead) {
  struct Case {
    const char* what;
    std::uintmax_t newSize;
  };
  // Longer than the reading buffer, so that the change is seen by a later read.
  constexpr std::size_t kLength = 20000;
  const Case cases[] = {
      {"file grows", kContainerPrefixSize + kLength + 1},
      {"file shrinks", kContainerPrefixSize + 100},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    MakeContainer(SampleText(kLength));
    const auto path = container_;
    test::ScriptedCrypto crypto(Step::None);
    crypto.BeforeEveryBlock([&path, &test] { std::filesystem::resize_file(path, test.newSize); });
    TextBuffer buffer = TextBuffer::FromText("previous");
    EXPECT_EQ(decrypt(container_, buffer, crypto).fault, ContainerFault::LengthMismatch);
    EXPECT_EQ(buffer.Text(), "previous");
  }
}

TEST_F(ContainerTest, DecryptCryptoFailuresReturnFalseAndKeepTheBuffer) {
  MakeContainer(SampleText(600));
  struct Case {
    Step step;
    int failingBlock;
    ContainerFault fault;
  };
  const Case cases[] = {
      {Step::Acquire, 0, ContainerFault::AcquireContext},
      {Step::AcquireNew, 0, ContainerFault::NewAcquireContext},
      {Step::CreateHash, 0, ContainerFault::CreateHash},
      {Step::HashData, 0, ContainerFault::HashData},
      {Step::DeriveKey, 0, ContainerFault::DeriveKey},
      {Step::Crypt, 2, ContainerFault::Crypt},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(DescribeContainerFault(test.fault));
    test::ScriptedCrypto crypto(test.step, kNteFail, test.failingBlock);
    TextBuffer buffer = TextBuffer::FromText("previous");
    EXPECT_EQ(decrypt(container_, buffer, crypto).fault, test.fault);
    EXPECT_EQ(buffer.Text(), "previous");
  }
}

}  // namespace
}  // namespace vzt
