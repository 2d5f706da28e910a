#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vzt {

// The program's version information: named values under paths such as
// "\VarFileInfo\Translation" and "\StringFileInfo\041004e4\FileVersion". The build puts
// it into the program file as a section of text:
//
//   VZT-VERSIONINFO 1
//   \VarFileInfo\Translation=0410 04e4
//   \StringFileInfo\041004e4\FileVersion=1.0.0.0
//
// The block ends at its first NUL or at the end of the section.
class VersionInfo {
 public:
  static constexpr char kSectionName[] = ".vzt_version";
  static constexpr char kHeaderLine[] = "VZT-VERSIONINFO 1";
  static constexpr char kNotAvailable[] = "not available";
  // A version block is small; a larger section is not one.
  static constexpr std::size_t kMaxBlockSize = 64 * 1024;

  // False, and nothing kept, when the text is not a version block.
  bool Parse(std::string_view block);

  // The value at a path, compared ignoring case; nothing when the path is missing.
  std::optional<std::string> Value(std::string_view path) const;
  // The first language and code page pair of the translation list as eight lower-case hex
  // digits, language first ("041004e4"); nothing when the list is missing or malformed.
  std::optional<std::string> FirstTranslation() const;
  // FileVersion in the first translation's strings; "not available" when any of it is
  // missing or empty.
  std::string FileVersionText() const;

  // The version text of the running program's own file.
  static std::string ProgramFileVersion();
  // The version text of an ELF file.
  static std::string FileVersionOf(const std::string& path);

 private:
  std::vector<std::pair<std::string, std::string>> values_;
};

}  // namespace vzt
