#include "app/ElfSection.h"

#include <elf.h>
#include <link.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

namespace vzt {

namespace {

// This machine's kind of ELF file.
using Header = ElfW(Ehdr);
using SectionHeader = ElfW(Shdr);
constexpr unsigned char kClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char kByteOrder =
    __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;
// Section names are short; a longer one is not the one we look for.
constexpr std::size_t kMaxNameLength = 256;
// More sections than any real program has.
constexpr std::size_t kMaxSections = 65536;

class ElfFile {
 public:
  explicit ElfFile(const std::string& path) : in_(path, std::ios::binary) {
    if (in_) {
      in_.seekg(0, std::ios::end);
      const auto end = in_.tellg();
      size_ = end < 0 ? 0 : static_cast<std::uint64_t>(end);
    }
  }

  bool Opened() const { return static_cast<bool>(in_); }

  // Reads `length` bytes at `offset` only when they lie inside the file.
  bool Read(std::uint64_t offset, void* out, std::size_t length) {
    if (offset > size_ || length > size_ - offset) return false;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(static_cast<char*>(out), static_cast<std::streamsize>(length));
    return static_cast<std::size_t>(in_.gcount()) == length;
  }

 private:
  std::ifstream in_;
  std::uint64_t size_ = 0;
};

bool Fail(std::string* error, const char* reason) {
  if (error) *error = reason;
  return false;
}

bool ReadHeader(ElfFile& file, Header& header, std::string* error) {
  if (!file.Read(0, &header, sizeof header)) return Fail(error, "too short for an ELF header");
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) return Fail(error, "not an ELF file");
  if (header.e_ident[EI_CLASS] != kClass || header.e_ident[EI_DATA] != kByteOrder)
    return Fail(error, "an ELF file of another machine");
  if (header.e_shentsize != sizeof(SectionHeader)) return Fail(error, "unexpected section header size");
  return true;
}

bool ReadSections(ElfFile& file, const Header& header, std::vector<SectionHeader>& sections,
                  std::size_t& namesIndex, std::string* error) {
  SectionHeader first{};
  if (header.e_shoff == 0) return Fail(error, "no section headers");
  if (!file.Read(header.e_shoff, &first, sizeof first)) return Fail(error, "section headers outside the file");
  // Large files keep the counts in the first section header.
  const std::uint64_t count = header.e_shnum != 0 ? header.e_shnum : first.sh_size;
  namesIndex = header.e_shstrndx != SHN_XINDEX ? header.e_shstrndx : first.sh_link;
  if (count == 0 || count > kMaxSections) return Fail(error, "impossible section count");
  if (namesIndex >= count) return Fail(error, "section names outside the section table");
  sections.resize(static_cast<std::size_t>(count));
  if (!file.Read(header.e_shoff, sections.data(), sections.size() * sizeof(SectionHeader)))
    return Fail(error, "section headers outside the file");
  return true;
}

bool NameIs(ElfFile& file, const SectionHeader& names, std::uint32_t nameOffset, std::string_view wanted) {
  if (wanted.size() > kMaxNameLength || nameOffset >= names.sh_size) return false;
  const std::size_t room = static_cast<std::size_t>(
      std::min<std::uint64_t>(names.sh_size - nameOffset, wanted.size() + 1));
  std::string text(room, '\0');
  if (!file.Read(names.sh_offset + nameOffset, text.data(), room)) return false;
  return room == wanted.size() + 1 && text.compare(0, wanted.size(), wanted) == 0 && text.back() == '\0';
}

std::optional<std::string> Nothing(std::string* error, const char* reason) {
  Fail(error, reason);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadElfSection(const std::string& path, std::string_view name,
                                          std::size_t maxSize, std::string* error) {
  ElfFile file(path);
  if (!file.Opened()) return Nothing(error, "cannot open the file");
  Header header{};
  std::vector<SectionHeader> sections;
  std::size_t namesIndex = 0;
  if (!ReadHeader(file, header, error) || !ReadSections(file, header, sections, namesIndex, error))
    return std::nullopt;
  const SectionHeader& names = sections[namesIndex];
  for (const SectionHeader& s : sections) {
    if (!NameIs(file, names, s.sh_name, name)) continue;
    if (s.sh_type == SHT_NOBITS) return Nothing(error, "the section has no bytes in the file");
    if (s.sh_size > maxSize) return Nothing(error, "the section is too large");
    std::string bytes(static_cast<std::size_t>(s.sh_size), '\0');
    if (!file.Read(s.sh_offset, bytes.data(), bytes.size()))
      return Nothing(error, "the section lies outside the file");
    return bytes;
  }
  return Nothing(error, "no such section");
}

}  // namespace vzt
