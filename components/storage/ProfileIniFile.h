#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "components/storage/CustomIniFile.h"

namespace vzt {

// An INI text file changed the way profile-string functions change one: every call reads
// the file, and every write goes to disk at once. The first write to a section appends its
// header at the end of the file, the first write of a key appends it at the end of its
// section, and a further write of the same key (ignoring case) replaces its value in place.
// Section and key names ignore case; blanks around names and values are not part of them.
// A write replaces the whole file through a temporary file in the same folder, so a failed
// write leaves the previous file as it was; the failure is kept for Failed() and Error().
class TProfileIniFile : public TCustomIniFile {
 public:
  explicit TProfileIniFile(std::string fileName);

  const std::string& FileName() const { return file_name_; }

  std::string ReadString(const std::string& section, const std::string& name,
                         const std::string& defaultValue) override;
  void WriteString(const std::string& section, const std::string& name,
                   const std::string& value) override;
  void ReadSection(const std::string& section, TStrings& names) override;
  void ReadSections(TStrings& sections) override;
  void ReadSectionValues(const std::string& section, TStrings& lines) override;
  void EraseSection(const std::string& section) override;
  void DeleteKey(const std::string& section, const std::string& name) override;
  // Every write is already on disk; nothing is pending.
  void UpdateFile() override;

  // True once any read or write of the file has failed since construction.
  bool Failed() const { return !error_.empty(); }
  // The first failure, empty when none.
  const std::string& Error() const { return error_; }

 private:
  // The lines of the file; empty for a missing file, nothing when it cannot be read.
  std::optional<TStrings> Load();
  bool Store(const TStrings& lines);
  void NoteFailure(const std::string& error);

  std::string file_name_;
  std::string error_;
};

}  // namespace vzt
