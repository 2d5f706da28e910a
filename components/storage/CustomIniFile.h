#pragma once

#include <string>
#include <vector>

namespace vzt {

using TStrings = std::vector<std::string>;

// The abstract INI interface every INI file of the program offers, so that an item reads
// and writes its key without knowing where the text lives. Texts are 8-bit.
class TCustomIniFile {
 public:
  virtual ~TCustomIniFile() = default;

  virtual std::string ReadString(const std::string& section, const std::string& name,
                                 const std::string& defaultValue) = 0;
  virtual void WriteString(const std::string& section, const std::string& name,
                           const std::string& value) = 0;
  virtual void ReadSection(const std::string& section, TStrings& names) = 0;
  virtual void ReadSections(TStrings& sections) = 0;
  virtual void ReadSectionValues(const std::string& section, TStrings& lines) = 0;
  virtual void EraseSection(const std::string& section) = 0;
  virtual void DeleteKey(const std::string& section, const std::string& name) = 0;
  virtual void UpdateFile() = 0;

  // Decimal, or hexadecimal after "$", "0x" or "0X"; empty or unreadable text gives the default.
  int ReadInteger(const std::string& section, const std::string& name, int defaultValue);
  void WriteInteger(const std::string& section, const std::string& name, int value);
  // The regional decimal separator; empty or unreadable text gives the default.
  double ReadFloat(const std::string& section, const std::string& name, double defaultValue);
  void WriteFloat(const std::string& section, const std::string& name, double value);
  bool ReadBool(const std::string& section, const std::string& name, bool defaultValue);
  void WriteBool(const std::string& section, const std::string& name, bool value);
  bool ValueExists(const std::string& section, const std::string& name);
  bool SectionExists(const std::string& section);
};

// The integer conversion ReadInteger uses, shared with other readers of such text.
bool TextToInt(const std::string& text, int& value);

}  // namespace vzt
