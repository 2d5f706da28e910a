#include "platform/Crypto.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <wincrypt.h>

#include <string>

namespace vzt {
namespace {

CryptCode LastCryptError() {
  const DWORD error = GetLastError();
  return error == 0 ? kNteFail : static_cast<CryptCode>(error);
}

// The service takes no null buffer, not even for no data.
BYTE* Bytes(std::span<unsigned char> data, BYTE& none) { return data.empty() ? &none : data.data(); }

// Hashes and keys hold a reference on their provider, so they may outlive the context.
class ProviderReference {
 public:
  explicit ProviderReference(HCRYPTPROV provider) : provider_(provider) {
    CryptContextAddRef(provider_, nullptr, 0);
  }
  ~ProviderReference() { CryptReleaseContext(provider_, 0); }
  ProviderReference(const ProviderReference&) = delete;
  ProviderReference& operator=(const ProviderReference&) = delete;

  HCRYPTPROV Handle() const { return provider_; }

 private:
  HCRYPTPROV provider_;
};

class CapiKey final : public CryptKey {
 public:
  CapiKey(HCRYPTPROV provider, HCRYPTKEY key) : provider_(provider), key_(key) {}
  ~CapiKey() override { CryptDestroyKey(key_); }

  CryptCode Encrypt(bool final, std::span<unsigned char> data) override {
    if (data.size() > MAXDWORD) return kNteBadLen;
    BYTE none = 0;
    DWORD length = static_cast<DWORD>(data.size());
    if (!CryptEncrypt(key_, 0, final ? TRUE : FALSE, 0, Bytes(data, none), &length, length)) {
      return LastCryptError();
    }
    return kCryptOk;
  }

  CryptCode Decrypt(bool final, std::span<unsigned char> data) override {
    if (data.size() > MAXDWORD) return kNteBadLen;
    BYTE none = 0;
    DWORD length = static_cast<DWORD>(data.size());
    if (!CryptDecrypt(key_, 0, final ? TRUE : FALSE, 0, Bytes(data, none), &length)) {
      return LastCryptError();
    }
    return kCryptOk;
  }

 private:
  ProviderReference provider_;
  HCRYPTKEY key_;
};

class CapiHash final : public CryptHash {
 public:
  CapiHash(HCRYPTPROV provider, HCRYPTHASH hash) : provider_(provider), hash_(hash) {}
  ~CapiHash() override { CryptDestroyHash(hash_); }

  CryptCode HashData(std::span<const unsigned char> data) override {
    if (data.size() > MAXDWORD) return kNteBadLen;
    const BYTE none = 0;
    const BYTE* bytes = data.empty() ? &none : data.data();
    if (!CryptHashData(hash_, bytes, static_cast<DWORD>(data.size()), 0)) return LastCryptError();
    return kCryptOk;
  }

  CryptCode GetValue(std::vector<unsigned char>& digest) override {
    std::vector<unsigned char> value(kMd5DigestSize);
    DWORD length = static_cast<DWORD>(value.size());
    if (!CryptGetHashParam(hash_, HP_HASHVAL, value.data(), &length, 0)) return LastCryptError();
    value.resize(length);
    digest = std::move(value);
    return kCryptOk;
  }

  CryptCode SetValue(std::span<const unsigned char> digest) override {
    if (digest.size() != kMd5DigestSize) return kNteBadLen;
    if (!CryptSetHashParam(hash_, HP_HASHVAL, digest.data(), 0)) return LastCryptError();
    return kCryptOk;
  }

  Crypted<CryptKey> DeriveKey(std::uint32_t algorithm, std::uint32_t flags) override {
    HCRYPTKEY key = 0;
    if (!CryptDeriveKey(provider_.Handle(), algorithm, hash_, flags, &key)) {
      return {nullptr, LastCryptError()};
    }
    return {std::make_unique<CapiKey>(provider_.Handle(), key), kCryptOk};
  }

 private:
  ProviderReference provider_;
  HCRYPTHASH hash_;
};

class CapiContext final : public CryptContext {
 public:
  explicit CapiContext(HCRYPTPROV provider) : provider_(provider) {}
  ~CapiContext() override { CryptReleaseContext(provider_, 0); }

  Crypted<CryptHash> CreateHash(std::uint32_t algorithm) override {
    HCRYPTHASH hash = 0;
    if (!CryptCreateHash(provider_, algorithm, 0, 0, &hash)) return {nullptr, LastCryptError()};
    return {std::make_unique<CapiHash>(provider_, hash), kCryptOk};
  }

 private:
  HCRYPTPROV provider_;
};

// The enhanced provider of the full RSA type: the one that offers 128-bit RC4.
class CapiProvider final : public CryptProvider {
 public:
  Crypted<CryptContext> AcquireContext(std::string_view keyContainer, std::uint32_t flags) override {
    const std::wstring name(keyContainer.begin(), keyContainer.end());
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextW(&provider, name.c_str(), MS_ENHANCED_PROV_W, PROV_RSA_FULL, flags)) {
      return {nullptr, LastCryptError()};
    }
    return {std::make_unique<CapiContext>(provider), kCryptOk};
  }
};

}  // namespace

CryptProvider& SystemCrypto() {
  static CapiProvider provider;
  return provider;
}

}  // namespace vzt
