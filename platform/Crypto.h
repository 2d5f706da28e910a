#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace vzt {

// The cryptography service in the shape of the system's own: acquire a context for a named
// key container, create a hash, hash data, derive a key from the hash, encrypt and decrypt
// blocks. Identifiers, flags and error codes use the system's numbering so that callers read
// the same on every platform. Only what the configuration files need is offered: MD5 and a
// 128-bit RC4 key made from the MD5 digest.

// Result of one step: kCryptOk, or the service's error code for what went wrong.
using CryptCode = std::uint32_t;
inline constexpr CryptCode kCryptOk = 0;

inline constexpr std::uint32_t kCalgMd5 = 0x8003;
inline constexpr std::uint32_t kCalgRc4 = 0x6801;

// AcquireContext flag: create the named key container.
inline constexpr std::uint32_t kCryptNewKeyset = 0x8;
// DeriveKey flags carry the key length in bits in their upper 16 bits.
inline constexpr std::uint32_t kDeriveKeyLength128 = 128u << 16;

inline constexpr std::size_t kMd5DigestSize = 16;

inline constexpr CryptCode kNteBadLen = 0x80090004;
inline constexpr CryptCode kNteBadAlgid = 0x80090008;
inline constexpr CryptCode kNteBadFlags = 0x80090009;
inline constexpr CryptCode kNteBadHashState = 0x8009000B;
inline constexpr CryptCode kNteBadKeyset = 0x80090016;  // the named key container does not exist
inline constexpr CryptCode kNteProvDllNotFound = 0x8009001E;
inline constexpr CryptCode kNteFail = 0x80090020;

// A created object, or the error code of the step that could not create it.
template <class T>
struct Crypted {
  std::unique_ptr<T> object;
  CryptCode error = kCryptOk;

  explicit operator bool() const { return object != nullptr; }
};

// A symmetric key. Consecutive blocks form one continuous stream; the final block ends the
// message, and the next block starts a new message from the beginning of the key stream.
class CryptKey {
 public:
  virtual ~CryptKey() = default;
  // In place: the output of a stream cipher is as long as its input.
  virtual CryptCode Encrypt(bool final, std::span<unsigned char> data) = 0;
  virtual CryptCode Decrypt(bool final, std::span<unsigned char> data) = 0;
};

class CryptHash {
 public:
  virtual ~CryptHash() = default;
  virtual CryptCode HashData(std::span<const unsigned char> data) = 0;
  // The digest. Taking it (or deriving a key) ends the hash: no more data may follow.
  virtual CryptCode GetValue(std::vector<unsigned char>& digest) = 0;
  // Replaces the hash's value with a digest of the hash's size, as if it had been hashed.
  virtual CryptCode SetValue(std::span<const unsigned char> digest) = 0;
  // flags: key length in the upper 16 bits (0 means 128); no other flag is supported.
  virtual Crypted<CryptKey> DeriveKey(std::uint32_t algorithm, std::uint32_t flags) = 0;
};

// Hashes and keys made from a context may outlive it.
class CryptContext {
 public:
  virtual ~CryptContext() = default;
  virtual Crypted<CryptHash> CreateHash(std::uint32_t algorithm) = 0;
};

class CryptProvider {
 public:
  virtual ~CryptProvider() = default;
  // flags: 0 to open an existing key container, kCryptNewKeyset to create it. A missing
  // container gives kNteBadKeyset.
  virtual Crypted<CryptContext> AcquireContext(std::string_view keyContainer,
                                               std::uint32_t flags) = 0;
};

// The platform's service: OpenSSL on POSIX, the CryptoAPI on Windows.
CryptProvider& SystemCrypto();

}  // namespace vzt
