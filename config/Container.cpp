#include "config/Container.h"

#include "config/ContainerKey.h"
#include "config/FileHandle.h"
#include "config/ReplacingFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <ctime>
#include <memory>
#include <span>
#include <system_error>
#include <vector>

namespace vzt {
namespace {

constexpr std::string_view kKeyContainer = "BVFCKM";
constexpr std::u16string_view kMessageCaption = u"Errore";

using Block = std::array<unsigned char, kContainerBlockSize>;

std::u16string_view CryptoMessage(ContainerFault fault) {
  switch (fault) {
    case ContainerFault::AcquireContext: return u"Error during CryptAcquireContext!";
    case ContainerFault::NewAcquireContext: return u"Error during new CryptAcquireContext!";
    case ContainerFault::CreateHash: return u"Error during CryptCreateHash!";
    case ContainerFault::HashData: return u"Error during CryptHashData!";
    case ContainerFault::DeriveKey: return u"Error during CryptDeriveKey!";
    case ContainerFault::Crypt: return u"Error during Crypt.";
    default: return {};
  }
}

std::span<const unsigned char> HeaderBytes() {
  return {reinterpret_cast<const unsigned char*>(kContainerHeader.data()), kContainerHeader.size()};
}

std::size_t ReadUpTo(std::FILE* file, std::span<unsigned char> into) {
  return into.empty() ? 0 : std::fread(into.data(), 1, into.size(), file);
}

// The RC4 key of one container and the objects it was made from; they go in reverse order.
class CipherSession {
 public:
  ContainerFault Start(CryptProvider& crypto, std::span<const unsigned char> password) {
    if (const ContainerFault fault = AcquireContext(crypto); fault != ContainerFault::None) return fault;
    auto created = context_->CreateHash(kCalgMd5);
    if (!created) return ContainerFault::CreateHash;
    hash_ = std::move(created.object);
    if (hash_->HashData(password) != kCryptOk) return ContainerFault::HashData;
    auto derived = hash_->DeriveKey(kCalgRc4, kDeriveKeyLength128);
    if (!derived) return ContainerFault::DeriveKey;
    key_ = std::move(derived.object);
    return ContainerFault::None;
  }

  CryptKey& Key() { return *key_; }

 private:
  // A key container that does not exist yet is created.
  ContainerFault AcquireContext(CryptProvider& crypto) {
    auto acquired = crypto.AcquireContext(kKeyContainer, 0);
    if (!acquired && acquired.error != kNteBadKeyset) return ContainerFault::AcquireContext;
    if (!acquired) {
      acquired = crypto.AcquireContext(kKeyContainer, kCryptNewKeyset);
      if (!acquired) return ContainerFault::NewAcquireContext;
    }
    context_ = std::move(acquired.object);
    return ContainerFault::None;
  }

  std::unique_ptr<CryptContext> context_;
  std::unique_ptr<CryptHash> hash_;
  std::unique_ptr<CryptKey> key_;
};

// One continuous stream in blocks of 255 bytes; the block that ends the file is the final one,
// so the file is read one block ahead.
ContainerFault EncryptBlocks(std::FILE* plain, ReplacingFile& target, CryptKey& key) {
  Block block{};
  Block following{};
  std::size_t size = ReadUpTo(plain, block);
  std::size_t total = 0;
  for (;;) {
    const std::size_t followingSize = size == block.size() ? ReadUpTo(plain, following) : 0;
    if (std::ferror(plain)) return ContainerFault::CannotRead;
    total += size;
    if (total > kMaxConfigurationSize) return ContainerFault::TooLarge;
    const bool final = followingSize == 0;
    const std::span<unsigned char> piece(block.data(), size);
    if (key.Encrypt(final, piece) != kCryptOk) return ContainerFault::Crypt;
    if (!target.Write(piece)) return ContainerFault::CannotWrite;
    if (final) return ContainerFault::None;
    block.swap(following);
    size = followingSize;
  }
}

// Deciphers exactly text.size() bytes in blocks of 255 and then expects the end of the file.
ContainerFault DecryptBlocks(std::FILE* container, std::span<unsigned char> text, CryptKey& key) {
  std::size_t done = 0;
  do {
    const std::size_t size = std::min(kContainerBlockSize, text.size() - done);
    const std::span<unsigned char> piece = text.subspan(done, size);
    if (ReadUpTo(container, piece) != size) {
      return std::ferror(container) ? ContainerFault::CannotRead : ContainerFault::LengthMismatch;
    }
    done += size;
    if (key.Decrypt(done == text.size(), piece) != kCryptOk) return ContainerFault::Crypt;
  } while (done < text.size());
  if (std::fgetc(container) != EOF) return ContainerFault::LengthMismatch;
  return std::ferror(container) ? ContainerFault::CannotRead : ContainerFault::None;
}

ContainerFault EncryptInto(std::FILE* plain, ReplacingFile& target, MessageSink& messages,
                           CryptProvider& crypto) {
  const ContainerKey key = DrawContainerKey(static_cast<unsigned>(std::time(nullptr)));
  if (!target.Write(HeaderBytes()) || !target.Write(key)) return ContainerFault::CannotWrite;
  CipherSession session;
  ContainerFault fault = session.Start(crypto, ContainerPassword(key));
  if (fault == ContainerFault::None) fault = EncryptBlocks(plain, target, session.Key());
  if (!CryptoMessage(fault).empty()) messages.ShowMessage(CryptoMessage(fault), kMessageCaption);
  return fault;
}

// Reads the header and the key bytes, telling apart the ways a file can fail to be a container.
ContainerFault ReadPrefix(std::FILE* container, ContainerKey& key) {
  std::array<unsigned char, kContainerHeader.size()> header{};
  if (ReadUpTo(container, header) != header.size()) {
    return std::ferror(container) ? ContainerFault::CannotRead : ContainerFault::ShorterThanHeader;
  }
  // The header text is not compared: files from other writers with another header text
  // must still load.
  if (ReadUpTo(container, key) != key.size()) {
    return std::ferror(container) ? ContainerFault::CannotRead : ContainerFault::TruncatedKey;
  }
  return ContainerFault::None;
}

// Length field, room for the text, and the zero byte after it.
std::vector<unsigned char> EmptyTextBuffer(std::size_t length) {
  std::vector<unsigned char> bytes(4 + length + 1, 0);
  for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(length >> (8 * i));
  return bytes;
}

}  // namespace

ContainerResult encrypt(const std::filesystem::path& plainFile,
                        const std::filesystem::path& containerFile, MessageSink& messages,
                        CryptProvider& crypto) {
  std::error_code error;
  if (!std::filesystem::exists(plainFile, error)) return {ContainerFault::FileMissing};
  const FileHandle plain = OpenFile(plainFile, "rb");
  if (!plain) return {ContainerFault::CannotRead};
  ReplacingFile target(containerFile);
  if (!target.Open()) return {ContainerFault::CannotWrite};
  if (const ContainerFault fault = EncryptInto(plain.get(), target, messages, crypto);
      fault != ContainerFault::None) {
    return {fault};
  }
  if (!target.Commit()) return {ContainerFault::CannotWrite};
  return {};
}

ContainerResult decrypt(const std::filesystem::path& containerFile, TextBuffer& buffer,
                        CryptProvider& crypto) {
  std::error_code error;
  if (!std::filesystem::exists(containerFile, error)) return {ContainerFault::FileMissing};
  const std::uintmax_t fileSize = std::filesystem::file_size(containerFile, error);
  if (error) return {ContainerFault::CannotRead};
  const FileHandle container = OpenFile(containerFile, "rb");
  if (!container) return {ContainerFault::CannotRead};
  ContainerKey key{};
  if (const ContainerFault fault = ReadPrefix(container.get(), key); fault != ContainerFault::None) {
    return {fault};
  }
  if (fileSize < kContainerPrefixSize) return {ContainerFault::LengthMismatch};
  if (fileSize - kContainerPrefixSize > kMaxConfigurationSize) return {ContainerFault::TooLarge};
  const auto length = static_cast<std::size_t>(fileSize - kContainerPrefixSize);

  CipherSession session;
  if (const ContainerFault fault = session.Start(crypto, ContainerPassword(key));
      fault != ContainerFault::None) {
    return {fault};
  }
  std::vector<unsigned char> bytes = EmptyTextBuffer(length);
  const std::span<unsigned char> text(bytes.data() + 4, length);
  if (const ContainerFault fault = DecryptBlocks(container.get(), text, session.Key());
      fault != ContainerFault::None) {
    return {fault};
  }
  buffer = TextBuffer(std::move(bytes));
  return {};
}

std::string_view DescribeContainerFault(ContainerFault fault) {
  switch (fault) {
    case ContainerFault::None: return "no error";
    case ContainerFault::FileMissing: return "the file does not exist";
    case ContainerFault::CannotRead: return "the file cannot be read";
    case ContainerFault::CannotWrite: return "the configuration file cannot be written";
    case ContainerFault::TooLarge: return "the file is too large for a configuration";
    case ContainerFault::ShorterThanHeader: return "the file is shorter than a configuration file's header";
    case ContainerFault::TruncatedKey: return "the configuration file ends within its key bytes";
    case ContainerFault::LengthMismatch: return "the configuration file changed while it was read";
    case ContainerFault::AcquireContext: return "the cryptography service cannot be opened";
    case ContainerFault::NewAcquireContext: return "the cryptography service's key container cannot be created";
    case ContainerFault::CreateHash: return "the cryptography service cannot create a hash";
    case ContainerFault::HashData: return "the cryptography service cannot hash the password";
    case ContainerFault::DeriveKey: return "the cryptography service cannot derive the key";
    case ContainerFault::Crypt: return "the cryptography service cannot encipher or decipher the text";
  }
  return "unknown error";
}

}  // namespace vzt
