#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Component.h"
#include "platform/Library.h"
#include "platform/StringResources.h"

namespace vzt {

// Supplies the interface texts in the chosen language from the language library. The
// library's string table holds one block of StringsPerLanguage() ids per language: language
// i starts at id i * StringsPerLanguage(); offset 0 of a block is the language's own name and
// offset n the text with id n.
class TTranslator : public Component {
 public:
  // Supplies the text for an id the library does not hold; the text starts empty.
  using TMissingStringEvent =
      std::function<void(Component* sender, int stringId, std::u16string& defaultString)>;

  // The library's exports: each takes the address where it stores its count.
  static constexpr char kMaxLanguagesExport[] = "_MaxLanguages";
  static constexpr char kMaxStringsExport[] = "_MaxStrings";
  using MaxLanguagesFn = void (*)(std::int8_t* count);
  using MaxStringsFn = void (*)(std::int32_t* count);

  // Both text buffers hold 254 units and a terminator; longer texts are cut there.
  static constexpr int kBufferLength = 255;

  explicit TTranslator(Component* owner = nullptr);
  ~TTranslator() override;

  // Loads the library named by DllName; true when a usable library is loaded. A library
  // that reports impossible counts or a broken string table is not kept.
  bool LoadLanguageLibrary();
  void FreeLanguageLibrary();
  bool LibraryLoaded() const { return library_.IsLoaded(); }
  // Why the last load gave no usable library, or what the loaded library lacks; empty when
  // nothing was wrong.
  const std::string& LibraryProblem() const { return library_problem_; }

  // Ignored unless 0 <= index < LanguageCount().
  void SetLanguage(int index);
  int Language() const { return language_; }
  std::int8_t LanguageCount() const { return language_count_; }
  int StringsPerLanguage() const { return strings_per_language_; }

  // The text with this id in the current language, cut to maxLength units when that is
  // above 0; the missing-string text when the library has none.
  std::u16string GetString(int id, int maxLength);
  // The name of language index; the missing-string text for id 0 when there is none.
  std::u16string GetLanguageName(int index);

  const std::string& DllName() const { return dll_name_; }
  // A different name reloads at once when a library is loaded.
  void SetDllName(const std::string& name);
  bool IsUnicode() const { return is_unicode_; }
  void SetIsUnicode(bool value);

  TMissingStringEvent OnMissingString;

  bool SetProperty(std::string_view name, const PropertyValue& value) override;

 private:
  void ReadCounts();
  bool KeepOnlyUsableLibrary();
  void PickWideLoader();
  void DropWideLoader();
  std::u16string LoadText(long long stringId, int missingId);
  std::u16string MissingString(int stringId);

  Library library_;
  // The compatibility library that supplies the wide loader where the system has none.
  Library unicows_;
  WideStringLoader wide_loader_ = nullptr;
  int language_ = 0;
  std::int8_t language_count_ = 1;
  std::int32_t strings_per_language_ = 1;
  bool is_unicode_ = false;
  std::array<char, kBufferLength> narrow_buffer_{};
  std::array<char16_t, kBufferLength> wide_buffer_{};
  std::string dll_name_;
  std::string library_problem_;
};

}  // namespace vzt
