// The build tool that turns the language files into the library's source: it must fail the
// build on a bad file, name the place, and leave the previous source alone.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "languages/TextIds.h"

namespace fs = std::filesystem;

namespace {

class LanguageGenerator : public ::testing::Test {
 protected:
  void SetUp() override {
    dir =
        fs::path(::testing::TempDir()) /
        ("langgen-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    output = dir / "LanguageTable.cpp";
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path Write(const std::string& name, const std::string& content) {
    fs::path p = dir / name;
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }

  static std::string CompleteLanguage(const std::string& name) {
    std::string content;
    for (const vzt::TextIdRange& r : vzt::kProgramTextIds)
      for (int id = r.first; id <= r.last; ++id)
        content += std::to_string(id) + "\t" + (id == 0 ? name : "t" + std::to_string(id)) + "\n";
    return content;
  }

  // Runs the tool; returns its exit status, and what it wrote to stderr in `messages`.
  int Run(const std::string& arguments) {
    fs::path err = dir / "stderr.txt";
    std::string command = std::string(VZT_LANGGEN) + " " + arguments + " 2>" + err.string();
    int status = std::system(command.c_str());
    messages = Read(err);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }

  fs::path dir;
  fs::path output;
  std::string messages;
};

TEST_F(LanguageGenerator, WritesTheCountsAndEveryLanguagesTexts) {
  fs::path a = Write("a.txt", CompleteLanguage("Alpha"));
  fs::path b = Write("b.txt", CompleteLanguage("Beta"));
  ASSERT_EQ(Run("--strings 160 --output " + output.string() + " " + a.string() + " " + b.string()),
            0)
      << messages;
  std::string source = Read(output);
  EXPECT_NE(source.find("*count = 2;"), std::string::npos);
  EXPECT_NE(source.find("*count = 160;"), std::string::npos);
  // Beta's name is string id 160, after Alpha's 109 texts.
  EXPECT_NE(source.find("{160, "), std::string::npos);
  EXPECT_NE(source.find("kTable = {vzt::kStringTableMagic, vzt::kStringTableVersion, 218, "),
            std::string::npos);
  EXPECT_FALSE(fs::exists(output.string() + ".tmp"));
}

TEST_F(LanguageGenerator, BadFileFailsAndLeavesThePreviousSource) {
  Write("LanguageTable.cpp", "previous");
  fs::path good = Write("good.txt", CompleteLanguage("Good"));
  fs::path bad = Write("bad.txt", "0\tBad\n6\tEs\\qci\n");
  EXPECT_EQ(
      Run("--strings 200 --output " + output.string() + " " + good.string() + " " + bad.string()),
      1);
  EXPECT_NE(messages.find(bad.string() + ":2: unknown escape"), std::string::npos) << messages;
  EXPECT_NE(messages.find(bad.string() + ":2: the file ends without texts for ids 1-5, 7-102"),
            std::string::npos)
      << messages;
  EXPECT_EQ(Read(output), "previous");
}

TEST_F(LanguageGenerator, RefusesImpossibleSizesAndMissingFiles) {
  fs::path good = Write("good.txt", CompleteLanguage("Good"));
  struct Case {
    std::string arguments;
    std::string message;
  };
  const Case cases[] = {
      {"--strings 150 --output " + output.string() + " " + good.string(),
       "no room for text id 150"},
      {"--strings many --output " + output.string() + " " + good.string(), "needs a number"},
      {"--strings 40000 --output " + output.string() + " " + good.string() + " " + good.string(),
       "16 bits"},
      {"--strings 200 " + good.string(), "usage"},
      {"--strings 200 --output " + output.string() + " " + (dir / "none.txt").string(),
       "none.txt:1: cannot be read"},
  };
  for (const Case& c : cases) {
    EXPECT_NE(Run(c.arguments), 0) << c.arguments;
    EXPECT_NE(messages.find(c.message), std::string::npos) << messages;
    EXPECT_FALSE(fs::exists(output)) << c.arguments;
  }
}

}  // namespace
