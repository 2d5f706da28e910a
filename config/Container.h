#pragma once

#include "config/MessageSink.h"
#include "config/TextBuffer.h"
#include "platform/Crypto.h"

#include <cstddef>
#include <filesystem>
#include <string_view>

namespace vzt {

// Why a container could not be written or read.
enum class ContainerFault {
  None,
  FileMissing,        // the plain file (encrypt) or the container (decrypt) does not exist
  CannotRead,         // a file that exists could not be opened or read
  CannotWrite,        // the container could not be written
  TooLarge,           // more text than any configuration holds
  ShorterThanHeader,  // decrypt: not even the header text is there
  TruncatedKey,       // decrypt: the key bytes end early
  LengthMismatch,     // decrypt: the ciphertext is not as long as the file announced
  // The steps of the cryptography service, in the order they run.
  AcquireContext,
  NewAcquireContext,
  CreateHash,
  HashData,
  DeriveKey,
  Crypt,
};

struct ContainerResult {
  ContainerFault fault = ContainerFault::None;

  explicit operator bool() const { return fault == ContainerFault::None; }
};

// A configuration is a few kilobytes of text; the limit keeps a wrong file from making us
// allocate gigabytes.
inline constexpr std::size_t kMaxConfigurationSize = 16u << 20;

inline constexpr std::size_t kContainerBlockSize = 255;

// Encrypts the plain file into a new container. The container only replaces a file of that
// name once it is complete, so a failure leaves a previous file intact. A failing step of
// the cryptography service is reported to `messages` (caption "Errore") before returning;
// missing or unreadable files and write failures are only returned.
ContainerResult encrypt(const std::filesystem::path& plainFile,
                        const std::filesystem::path& containerFile, MessageSink& messages,
                        CryptProvider& crypto = SystemCrypto());

// Decrypts a container into `buffer` (length field, text, zero byte). Reports nothing; on
// failure `buffer` is left as it was.
ContainerResult decrypt(const std::filesystem::path& containerFile, TextBuffer& buffer,
                        CryptProvider& crypto = SystemCrypto());

// A short English explanation, for logs and the command line.
std::string_view DescribeContainerFault(ContainerFault fault);

}  // namespace vzt
