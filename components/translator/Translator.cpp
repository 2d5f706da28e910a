#include "Translator.h"

#include <algorithm>

namespace vzt {

namespace {

constexpr char kCompatibilityLibrary[] = "Unicows.dll";
constexpr char kCompatibilityWideLoader[] = "LoadStringW";

void AddProblem(std::string& problems, const std::string& problem) {
  if (!problems.empty()) problems += "; ";
  problems += problem;
}

}  // namespace

TTranslator::TTranslator(Component* owner) : Component(owner) { SetIsUnicode(true); }

TTranslator::~TTranslator() {
  FreeLanguageLibrary();
  DropWideLoader();
}

bool TTranslator::LoadLanguageLibrary() {
  FreeLanguageLibrary();
  library_problem_.clear();
  if (library_.Load(dll_name_)) {
    ReadCounts();
    if (!KeepOnlyUsableLibrary()) FreeLanguageLibrary();
  } else {
    library_problem_ = library_.Error();
  }
  if (language_count_ <= language_) language_ = language_count_ - 1;
  return library_.IsLoaded();
}

void TTranslator::FreeLanguageLibrary() {
  library_.Free();
  language_count_ = 1;
  strings_per_language_ = 1;
}

// Each count is read into a zeroed scratch larger than the count itself, so that a library
// storing a wider integer than it should cannot overwrite anything of ours.
void TTranslator::ReadCounts() {
  if (auto max_languages = library_.Function<MaxLanguagesFn>(kMaxLanguagesExport)) {
    alignas(8) std::array<std::int8_t, 8> scratch{};
    max_languages(scratch.data());
    language_count_ = scratch[0];
  } else {
    language_count_ = 1;
    AddProblem(library_problem_,
               std::string("no ") + kMaxLanguagesExport + " export, one language assumed");
  }
  if (auto max_strings = library_.Function<MaxStringsFn>(kMaxStringsExport)) {
    alignas(8) std::array<std::int32_t, 2> scratch{};
    max_strings(scratch.data());
    strings_per_language_ = scratch[0];
  } else {
    strings_per_language_ = 1;
    AddProblem(library_problem_,
               std::string("no ") + kMaxStringsExport + " export, one string per language assumed");
  }
}

bool TTranslator::KeepOnlyUsableLibrary() {
  auto refuse = [this](const std::string& why) {
    AddProblem(library_problem_, dll_name_ + ": " + why);
    return false;
  };
  if (language_count_ < 1)
    return refuse("reports " + std::to_string(language_count_) + " languages");
  if (strings_per_language_ < 1)
    return refuse("reports " + std::to_string(strings_per_language_) + " strings per language");
  const long long ids = static_cast<long long>(language_count_) * strings_per_language_;
  if (ids > static_cast<long long>(kMaxStringId) + 1)
    return refuse(std::to_string(language_count_) + " languages of " +
                  std::to_string(strings_per_language_) +
                  " strings do not fit the 16-bit string ids");
  if (!library_.Symbol(kStringTableExport))
    return refuse(std::string("no ") + kStringTableExport + " export");
  if (std::string table = CheckStringTable(ModuleStringTable(library_)); !table.empty())
    return refuse(table);
  return true;
}

void TTranslator::SetLanguage(int index) {
  if (index >= 0 && index < language_count_) language_ = index;
}

std::u16string TTranslator::GetString(int id, int maxLength) {
  // An id outside the block would read another language's text.
  std::u16string text =
      id >= 0 && id < strings_per_language_
          ? LoadText(id + static_cast<long long>(language_) * strings_per_language_, id)
          : MissingString(id);
  if (maxLength > 0 && text.size() > static_cast<std::size_t>(maxLength)) text.resize(maxLength);
  return text;
}

std::u16string TTranslator::GetLanguageName(int index) {
  if (index < 0 || index >= language_count_) return MissingString(0);
  return LoadText(static_cast<long long>(index) * strings_per_language_, 0);
}

std::u16string TTranslator::LoadText(long long stringId, int missingId) {
  if (!library_.IsLoaded() || stringId < 0 || stringId > kMaxStringId)
    return MissingString(missingId);
  const auto id = static_cast<unsigned>(stringId);
  if (is_unicode_ && wide_loader_) {
    int length = wide_loader_(library_, id, wide_buffer_.data(), kBufferLength);
    length = std::clamp(length, 0, kBufferLength - 1);
    if (length > 0) return std::u16string(wide_buffer_.data(), static_cast<std::size_t>(length));
  } else {
    int length = LoadNarrowString(library_, id, narrow_buffer_.data(), kBufferLength);
    if (length > 0)
      return AnsiToWide(std::string_view(narrow_buffer_.data(), static_cast<std::size_t>(length)));
  }
  return MissingString(missingId);
}

std::u16string TTranslator::MissingString(int stringId) {
  std::u16string text;
  if (OnMissingString) OnMissingString(this, stringId, text);
  return text;
}

void TTranslator::SetDllName(const std::string& name) {
  if (name == dll_name_) return;
  dll_name_ = name;
  if (!IsDesigning() && library_.IsLoaded()) LoadLanguageLibrary();
}

void TTranslator::SetIsUnicode(bool value) {
  if (value == is_unicode_) return;
  is_unicode_ = value;
  if (IsDesigning()) return;
  if (value)
    PickWideLoader();
  else
    DropWideLoader();
}

void TTranslator::PickWideLoader() {
  wide_loader_ = SystemWideStringLoader();
  if (wide_loader_ || !unicows_.Load(kCompatibilityLibrary)) return;
  wide_loader_ = unicows_.Function<WideStringLoader>(kCompatibilityWideLoader);
  if (!wide_loader_) unicows_.Free();
}

void TTranslator::DropWideLoader() {
  wide_loader_ = nullptr;
  unicows_.Free();
}

bool TTranslator::SetProperty(std::string_view name, const PropertyValue& value) {
  using T = TTranslator;
  static const PropertyTable<T> properties = {
      {"IsUnicode", BoolProperty(&T::SetIsUnicode)},
      {"DllName", StringProperty(&T::SetDllName)},
      {"OnMissingString", EventProperty(&T::OnMissingString)},
  };
  if (auto taken = properties.Apply(*this, name, value)) return *taken;
  return Component::SetProperty(name, value);
}

}  // namespace vzt
