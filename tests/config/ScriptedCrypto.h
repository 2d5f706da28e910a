#pragma once

#include "platform/Crypto.h"

#include <functional>
#include <memory>
#include <vector>

namespace vzt::test {

// The system's service with one step made to fail, to reach each of the container's failure
// paths. Records the flags of every context acquisition.
class ScriptedCrypto final : public CryptProvider {
 public:
  enum class Step { None, Acquire, AcquireNew, CreateHash, HashData, DeriveKey, Crypt };

  struct Script {
    Step failing = Step::None;
    CryptCode code = kNteFail;
    int failingBlock = 0;                // which Encrypt/Decrypt call fails, from 0
    std::function<void()> beforeBlock;   // runs before every Encrypt/Decrypt call
    std::vector<std::uint32_t> acquireFlags;
    int blocks = 0;
  };

  explicit ScriptedCrypto(Step failing, CryptCode code = kNteFail, int failingBlock = 0)
      : script_(std::make_shared<Script>()) {
    script_->failing = failing;
    script_->code = code;
    script_->failingBlock = failingBlock;
  }

  void BeforeEveryBlock(std::function<void()> action) { script_->beforeBlock = std::move(action); }

  // Acquiring without flags fails with `code` when Acquire is scripted, and with the missing
  // key container error when AcquireNew is, so that the retry with kCryptNewKeyset runs.
  Crypted<CryptContext> AcquireContext(std::string_view keyContainer, std::uint32_t flags) override {
    script_->acquireFlags.push_back(flags);
    const bool plain = (flags & kCryptNewKeyset) == 0;
    if (plain && script_->failing == Step::Acquire) return {nullptr, script_->code};
    if (plain && script_->failing == Step::AcquireNew) return {nullptr, kNteBadKeyset};
    if (!plain && script_->failing == Step::AcquireNew) return {nullptr, script_->code};
    auto real = SystemCrypto().AcquireContext(keyContainer, flags);
    if (!real) return real;
    return {std::make_unique<Context>(std::move(real.object), script_), kCryptOk};
  }

  const Script& Result() const { return *script_; }

 private:
  using ScriptPtr = std::shared_ptr<Script>;

  class Key final : public CryptKey {
   public:
    Key(std::unique_ptr<CryptKey> real, ScriptPtr script) : real_(std::move(real)), script_(std::move(script)) {}
    CryptCode Encrypt(bool final, std::span<unsigned char> data) override {
      if (const CryptCode error = Before(); error != kCryptOk) return error;
      return real_->Encrypt(final, data);
    }
    CryptCode Decrypt(bool final, std::span<unsigned char> data) override {
      if (const CryptCode error = Before(); error != kCryptOk) return error;
      return real_->Decrypt(final, data);
    }

   private:
    CryptCode Before() {
      if (script_->beforeBlock) script_->beforeBlock();
      const int block = script_->blocks++;
      return script_->failing == Step::Crypt && block == script_->failingBlock ? script_->code : kCryptOk;
    }
    std::unique_ptr<CryptKey> real_;
    ScriptPtr script_;
  };

  class Hash final : public CryptHash {
   public:
    Hash(std::unique_ptr<CryptHash> real, ScriptPtr script) : real_(std::move(real)), script_(std::move(script)) {}
    CryptCode HashData(std::span<const unsigned char> data) override {
      return script_->failing == Step::HashData ? script_->code : real_->HashData(data);
    }
    CryptCode GetValue(std::vector<unsigned char>& digest) override { return real_->GetValue(digest); }
    CryptCode SetValue(std::span<const unsigned char> digest) override { return real_->SetValue(digest); }
    Crypted<CryptKey> DeriveKey(std::uint32_t algorithm, std::uint32_t flags) override {
      if (script_->failing == Step::DeriveKey) return {nullptr, script_->code};
      auto real = real_->DeriveKey(algorithm, flags);
      if (!real) return real;
      return {std::make_unique<Key>(std::move(real.object), script_), kCryptOk};
    }

   private:
    std::unique_ptr<CryptHash> real_;
    ScriptPtr script_;
  };

  class Context final : public CryptContext {
   public:
    Context(std::unique_ptr<CryptContext> real, ScriptPtr script) : real_(std::move(real)), script_(std::move(script)) {}
    Crypted<CryptHash> CreateHash(std::uint32_t algorithm) override {
      if (script_->failing == Step::CreateHash) return {nullptr, script_->code};
      auto real = real_->CreateHash(algorithm);
      if (!real) return real;
      return {std::make_unique<Hash>(std::move(real.object), script_), kCryptOk};
    }

   private:
    std::unique_ptr<CryptContext> real_;
    ScriptPtr script_;
  };

  ScriptPtr script_;
};

}  // namespace vzt::test
