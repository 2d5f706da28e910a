#pragma once

#include <memory>
#include <string>

#include "components/storage/CustomIniFile.h"
#include "components/storage/HashedList.h"
#include "config/TextBuffer.h"

namespace vzt {

// INI text held in memory: parsed once from the caller's buffer (a decrypted configuration
// file never touches the disk in the clear), read and changed in memory, and written back
// into a new buffer by UpdateFile or to a text file by SaveToFile. The store keeps the
// address of the caller's buffer variable, not a copy; the caller owns whatever it holds.
class TMemIniData : public TCustomIniFile {
 public:
  // The lines of one section, each keyed by the name before its first "=".
  using TSectionLines = HashedList<std::string>;

  // data may be null or hold no buffer: the store then starts empty.
  explicit TMemIniData(std::unique_ptr<TextBuffer>* data);
  ~TMemIniData() override;

  TMemIniData(const TMemIniData&) = delete;
  TMemIniData& operator=(const TMemIniData&) = delete;

  std::string ReadString(const std::string& section, const std::string& name,
                         const std::string& defaultValue) override;
  void WriteString(const std::string& section, const std::string& name,
                   const std::string& value) override;
  void ReadSection(const std::string& section, TStrings& names) override;
  void ReadSections(TStrings& sections) override;
  void ReadSectionValues(const std::string& section, TStrings& lines) override;
  void EraseSection(const std::string& section) override;
  void DeleteKey(const std::string& section, const std::string& name) override;
  // Replaces the caller's buffer by a new one holding the serialised contents.
  void UpdateFile() override;

  virtual void Clear();
  // Appends: for each section its header, its lines and one empty line.
  virtual void GetStrings(TStrings& lines);
  // Writes the serialised contents with CR LF line ends; false (old file intact) on failure.
  virtual bool SaveToFile(const std::string& fileName);

  // Parses the caller's buffer again, replacing the contents.
  void LoadValues();
  void SetStrings(const TStrings& lines);
  // Appends a section even when one of that name exists; lookups keep finding the first.
  TSectionLines& AddSection(const std::string& name);

  bool CaseSensitive() const { return sections_.CaseSensitive(); }
  void SetCaseSensitive(bool value);

 private:
  void ParseLine(std::string_view line, TSectionLines*& current);
  TSectionLines* FindSection(const std::string& section);

  std::unique_ptr<TextBuffer>* data_;
  HashedList<TSectionLines> sections_;
};

}  // namespace vzt
