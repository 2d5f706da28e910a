#include "platform/Crypto.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/provider.h>

#include <algorithm>
#include <array>
#include <climits>
#include <optional>

namespace vzt {
namespace {

template <auto Free>
struct OpenSslFree {
  template <class T>
  void operator()(T* object) const {
    Free(object);
  }
};

using LibraryContextPtr = std::unique_ptr<OSSL_LIB_CTX, OpenSslFree<OSSL_LIB_CTX_free>>;
using MdPtr = std::unique_ptr<EVP_MD, OpenSslFree<EVP_MD_free>>;
using MdStatePtr = std::unique_ptr<EVP_MD_CTX, OpenSslFree<EVP_MD_CTX_free>>;
using CipherPtr = std::unique_ptr<EVP_CIPHER, OpenSslFree<EVP_CIPHER_free>>;
using CipherStatePtr = std::unique_ptr<EVP_CIPHER_CTX, OpenSslFree<EVP_CIPHER_CTX_free>>;

using Md5Digest = std::array<unsigned char, kMd5DigestSize>;

// A failed OpenSSL call leaves entries in the thread's error queue; drop them so that they
// do not show up in someone else's later check.
CryptCode Failed(CryptCode code) {
  ERR_clear_error();
  return code;
}

// A library context of our own with the default provider (MD5) and the legacy provider (RC4),
// so that enabling the legacy algorithms here changes nothing for the rest of the process.
class OpenSslLibrary {
 public:
  static std::shared_ptr<OpenSslLibrary> Load(CryptCode& error) {
    auto library = std::shared_ptr<OpenSslLibrary>(new OpenSslLibrary());
    library->context_.reset(OSSL_LIB_CTX_new());
    if (!library->context_) {
      error = Failed(kNteFail);
      return nullptr;
    }
    library->default_ = OSSL_PROVIDER_load(library->Context(), "default");
    library->legacy_ = OSSL_PROVIDER_load(library->Context(), "legacy");
    if (library->default_ == nullptr || library->legacy_ == nullptr) {
      error = Failed(kNteProvDllNotFound);
      return nullptr;
    }
    return library;
  }

  ~OpenSslLibrary() {
    if (legacy_ != nullptr) OSSL_PROVIDER_unload(legacy_);
    if (default_ != nullptr) OSSL_PROVIDER_unload(default_);
  }

  OpenSslLibrary(const OpenSslLibrary&) = delete;
  OpenSslLibrary& operator=(const OpenSslLibrary&) = delete;

  OSSL_LIB_CTX* Context() const { return context_.get(); }

 private:
  OpenSslLibrary() = default;

  LibraryContextPtr context_;
  OSSL_PROVIDER* default_ = nullptr;
  OSSL_PROVIDER* legacy_ = nullptr;
};

class Rc4Key final : public CryptKey {
 public:
  static Crypted<CryptKey> Create(std::shared_ptr<OpenSslLibrary> library, const Md5Digest& key) {
    CipherPtr cipher(EVP_CIPHER_fetch(library->Context(), "RC4", "provider=legacy"));
    CipherStatePtr state(EVP_CIPHER_CTX_new());
    if (!cipher || !state) return {nullptr, Failed(kNteFail)};
    auto made = std::unique_ptr<Rc4Key>(
        new Rc4Key(std::move(library), std::move(cipher), std::move(state), key));
    if (!made->Restart()) return {nullptr, Failed(kNteFail)};
    return {std::move(made), kCryptOk};
  }

  CryptCode Encrypt(bool final, std::span<unsigned char> data) override { return Crypt(final, data); }
  CryptCode Decrypt(bool final, std::span<unsigned char> data) override { return Crypt(final, data); }

 private:
  Rc4Key(std::shared_ptr<OpenSslLibrary> library, CipherPtr cipher, CipherStatePtr state,
         const Md5Digest& key)
      : library_(std::move(library)), cipher_(std::move(cipher)), state_(std::move(state)), key_(key) {}

  // Sets the key schedule up afresh: the start of a new message.
  bool Restart() {
    return EVP_CipherInit_ex2(state_.get(), cipher_.get(), key_.data(), nullptr, 1, nullptr) == 1;
  }

  // RC4 enciphers and deciphers alike: both combine the data with the key stream.
  CryptCode Crypt(bool final, std::span<unsigned char> data) {
    if (data.size() > static_cast<std::size_t>(INT_MAX)) return kNteBadLen;
    if (!data.empty()) {
      int produced = 0;
      const int length = static_cast<int>(data.size());
      if (EVP_CipherUpdate(state_.get(), data.data(), &produced, data.data(), length) != 1 ||
          produced != length) {
        return Failed(kNteFail);
      }
    }
    if (final && !Restart()) return Failed(kNteFail);
    return kCryptOk;
  }

  std::shared_ptr<OpenSslLibrary> library_;
  CipherPtr cipher_;
  CipherStatePtr state_;
  Md5Digest key_;
};

class Md5Hash final : public CryptHash {
 public:
  static Crypted<CryptHash> Create(std::shared_ptr<OpenSslLibrary> library) {
    MdPtr md(EVP_MD_fetch(library->Context(), "MD5", "provider=default"));
    MdStatePtr state(EVP_MD_CTX_new());
    if (!md || !state || EVP_DigestInit_ex2(state.get(), md.get(), nullptr) != 1) {
      return {nullptr, Failed(kNteFail)};
    }
    return {std::unique_ptr<Md5Hash>(new Md5Hash(std::move(library), std::move(md), std::move(state))),
            kCryptOk};
  }

  CryptCode HashData(std::span<const unsigned char> data) override {
    if (digest_) return kNteBadHashState;
    if (data.empty()) return kCryptOk;
    if (EVP_DigestUpdate(state_.get(), data.data(), data.size()) != 1) return Failed(kNteFail);
    return kCryptOk;
  }

  CryptCode GetValue(std::vector<unsigned char>& digest) override {
    if (const CryptCode error = Finish(); error != kCryptOk) return error;
    digest.assign(digest_->begin(), digest_->end());
    return kCryptOk;
  }

  CryptCode SetValue(std::span<const unsigned char> digest) override {
    if (digest.size() != kMd5DigestSize) return kNteBadLen;
    digest_.emplace();
    std::copy(digest.begin(), digest.end(), digest_->begin());
    return kCryptOk;
  }

  // The 128-bit key is the digest itself, as the system's service makes it.
  Crypted<CryptKey> DeriveKey(std::uint32_t algorithm, std::uint32_t flags) override {
    if (algorithm != kCalgRc4) return {nullptr, kNteBadAlgid};
    const std::uint32_t keyBits = flags >> 16;
    const bool onlyKeyLength = (flags & 0xFFFFu) == 0;
    if (!onlyKeyLength || (keyBits != 0 && keyBits != 128)) return {nullptr, kNteBadFlags};
    if (const CryptCode error = Finish(); error != kCryptOk) return {nullptr, error};
    return Rc4Key::Create(library_, *digest_);
  }

 private:
  Md5Hash(std::shared_ptr<OpenSslLibrary> library, MdPtr md, MdStatePtr state)
      : library_(std::move(library)), md_(std::move(md)), state_(std::move(state)) {}

  CryptCode Finish() {
    if (digest_) return kCryptOk;
    Md5Digest digest{};
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(state_.get(), digest.data(), &length) != 1 || length != digest.size()) {
      return Failed(kNteFail);
    }
    digest_ = digest;
    return kCryptOk;
  }

  std::shared_ptr<OpenSslLibrary> library_;
  MdPtr md_;
  MdStatePtr state_;
  std::optional<Md5Digest> digest_;
};

class OpenSslContext final : public CryptContext {
 public:
  explicit OpenSslContext(std::shared_ptr<OpenSslLibrary> library) : library_(std::move(library)) {}

  Crypted<CryptHash> CreateHash(std::uint32_t algorithm) override {
    if (algorithm != kCalgMd5) return {nullptr, kNteBadAlgid};
    return Md5Hash::Create(library_);
  }

 private:
  std::shared_ptr<OpenSslLibrary> library_;
};

class OpenSslProvider final : public CryptProvider {
 public:
  // No keys are ever stored on this platform, so every named key container exists and
  // creating one is accepted as well.
  Crypted<CryptContext> AcquireContext(std::string_view, std::uint32_t flags) override {
    if ((flags & ~kCryptNewKeyset) != 0) return {nullptr, kNteBadFlags};
    CryptCode error = kCryptOk;
    auto library = OpenSslLibrary::Load(error);
    if (!library) return {nullptr, error};
    return {std::make_unique<OpenSslContext>(std::move(library)), kCryptOk};
  }
};

}  // namespace

CryptProvider& SystemCrypto() {
  static OpenSslProvider provider;
  return provider;
}

}  // namespace vzt
