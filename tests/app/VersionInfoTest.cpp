// Reading the version information: the block's text, and the ELF file it lives in.

#include <gtest/gtest.h>

#include <cstring>
#include <elf.h>
#include <link.h>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/ElfSection.h"
#include "app/VersionInfo.h"
#include "platform/Library.h"

using namespace vzt;

namespace {

struct BlockCase {
  const char* what;
  std::string block;
  std::string version;
};

void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.what; }

class VersionBlockTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(VersionBlockTest, FileVersionOfTheFirstTranslation) {
  VersionInfo info;
  info.Parse(GetParam().block);
  EXPECT_EQ(info.FileVersionText(), GetParam().version);
}

const std::string kHeader = "VZT-VERSIONINFO 1\n";

INSTANTIATE_TEST_SUITE_P(
    Blocks, VersionBlockTest,
    ::testing::Values(
        BlockCase{"Complete",
                  kHeader + "\\VarFileInfo\\Translation=0410 04e4\n\\StringFileInfo\\041004e4\\FileVersion=2.3.4.5\n",
                  "2.3.4.5"},
        BlockCase{"FirstPairWins",
                  kHeader + "\\VarFileInfo\\Translation=0409 04b0 0410 04e4\n"
                            "\\StringFileInfo\\041004e4\\FileVersion=1\n\\StringFileInfo\\040904b0\\FileVersion=9\n",
                  "9"},
        BlockCase{"ShortUpperCaseWordsArePadded",
                  kHeader + "\\VarFileInfo\\Translation=409 4B0\n\\StringFileInfo\\040904b0\\FileVersion=3\n", "3"},
        BlockCase{"PathsIgnoreCase",
                  kHeader + "\\varfileinfo\\TRANSLATION=0410 04E4\r\n\\stringfileinfo\\041004E4\\fileversion=4\r\n",
                  "4"},
        BlockCase{"NoTranslation", kHeader + "\\StringFileInfo\\041004e4\\FileVersion=5\n", "not available"},
        BlockCase{"LanguageWithoutCodePage",
                  kHeader + "\\VarFileInfo\\Translation=0410\n\\StringFileInfo\\04100000\\FileVersion=5\n",
                  "not available"},
        BlockCase{"NotHexadecimal",
                  kHeader + "\\VarFileInfo\\Translation=zz10 04e4\n\\StringFileInfo\\041004e4\\FileVersion=5\n",
                  "not available"},
        BlockCase{"WordWiderThan16Bits",
                  kHeader + "\\VarFileInfo\\Translation=10410 04e4\n\\StringFileInfo\\1041004e4\\FileVersion=5\n",
                  "not available"},
        BlockCase{"OtherTranslationsStrings",
                  kHeader + "\\VarFileInfo\\Translation=0410 04e4\n\\StringFileInfo\\040904b0\\FileVersion=5\n",
                  "not available"},
        BlockCase{"EmptyVersion",
                  kHeader + "\\VarFileInfo\\Translation=0410 04e4\n\\StringFileInfo\\041004e4\\FileVersion=\n",
                  "not available"},
        BlockCase{"EndsAtNul",
                  kHeader + "\\VarFileInfo\\Translation=0410 04e4\n" + std::string(1, '\0') +
                      "\\StringFileInfo\\041004e4\\FileVersion=6\n",
                  "not available"},
        BlockCase{"NoHeader", "\\VarFileInfo\\Translation=0410 04e4\n\\StringFileInfo\\041004e4\\FileVersion=7\n",
                  "not available"},
        BlockCase{"Empty", "", "not available"}),
    [](const auto& info) { return std::string(info.param.what); });

// ------------------------------------------------------------------ the program file

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ElfFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("vzt-elf-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    program_ = Contents("/proc/self/exe");
    ASSERT_GT(program_.size(), sizeof(ElfW(Ehdr)));
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  // The program's file with one header field changed.
  template <class Field>
  std::string WithHeaderField(std::size_t offset, Field value) {
    std::string bytes = program_;
    std::memcpy(bytes.data() + offset, &value, sizeof value);
    return bytes;
  }

  std::filesystem::path folder_;
  std::string program_;
};

TEST_F(ElfFileTest, ProgramReadsItsOwnVersion) {
  EXPECT_EQ(VersionInfo::ProgramFileVersion(), VZT_EXPECTED_VERSION);
}

TEST_F(ElfFileTest, FileWithoutVersionInformationHasNone) {
  EXPECT_EQ(VersionInfo::FileVersionOf(ProgramFolder() + "/SerQorDL.so"), "not available");
  EXPECT_EQ(VersionInfo::FileVersionOf(Write("text", "just some text\n")), "not available");
  EXPECT_EQ(VersionInfo::FileVersionOf((folder_ / "missing").string()), "not available");
}

TEST_F(ElfFileTest, BrokenFilesGiveNothingAndReadNothingOutsideThemselves) {
  using Header = ElfW(Ehdr);
  const std::vector<std::pair<const char*, std::string>> broken = {
      {"header cut", program_.substr(0, sizeof(Header) - 1)},
      {"section headers cut", program_.substr(0, program_.size() - 64)},
      {"section headers beyond the end", WithHeaderField(offsetof(Header, e_shoff), ElfW(Off){~ElfW(Off){0} - 8})},
      {"names section out of range", WithHeaderField(offsetof(Header, e_shstrndx), ElfW(Half){60000})},
      {"odd section header size", WithHeaderField(offsetof(Header, e_shentsize), ElfW(Half){12})},
      {"other word size", WithHeaderField(EI_CLASS, static_cast<unsigned char>(sizeof(void*) == 8 ? ELFCLASS32 : ELFCLASS64))},
  };
  for (const auto& [what, bytes] : broken) {
    std::string error;
    EXPECT_FALSE(ReadElfSection(Write("broken", bytes), VersionInfo::kSectionName, 4096, &error)) << what;
    EXPECT_FALSE(error.empty()) << what;
  }
}

TEST_F(ElfFileTest, SectionLargerThanAllowedIsRefused) {
  const std::string path = Write("copy", program_);
  ASSERT_TRUE(ReadElfSection(path, VersionInfo::kSectionName, 4096));
  std::string error;
  EXPECT_FALSE(ReadElfSection(path, VersionInfo::kSectionName, 16, &error));
  EXPECT_EQ(error, "the section is too large");
  EXPECT_FALSE(ReadElfSection(path, ".vzt_version_", 4096)) << "the name is matched whole";
}

}  // namespace
