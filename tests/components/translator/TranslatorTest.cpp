#include <dlfcn.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "components/translator/Translator.h"
#include "tests/components/translator/TestLanguageTexts.h"

using namespace vzt;
using namespace test_language;

namespace {

bool IsResident(const std::string& library) {
  std::string path = ProgramFolder() + "/" + library + ".so";
  void* h = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (!h) return false;
  dlclose(h);
  return true;
}

// A translator that names every missing text, so a miss cannot pass for an empty text.
class TranslatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    translator.OnMissingString = [this](Component* sender, int stringId, std::u16string& text) {
      EXPECT_EQ(sender, &translator);
      missing.push_back(stringId);
      text = u"<missing>";
    };
  }

  bool Load(const std::string& library) {
    translator.SetDllName(library + ".dll");
    return translator.LoadLanguageLibrary();
  }

  TTranslator translator;
  std::vector<int> missing;
};

TEST_F(TranslatorTest, StringIdIsTheIdPlusTheLanguagesBlock) {
  ASSERT_TRUE(Load("TestLang3x200")) << translator.LibraryProblem();
  EXPECT_EQ(translator.LanguageCount(), 3);
  EXPECT_EQ(translator.StringsPerLanguage(), 200);
  EXPECT_TRUE(translator.LibraryProblem().empty()) << translator.LibraryProblem();

  translator.SetLanguage(1);
  EXPECT_EQ(translator.GetString(23, 0), u"s223");
  EXPECT_EQ(translator.GetString(199, 0), u"s399");
  EXPECT_EQ(translator.GetLanguageName(2), u"s400");
  EXPECT_EQ(translator.GetLanguageName(0), u"s0");
  translator.SetLanguage(2);
  EXPECT_EQ(translator.GetString(1, 0), u"s401");
  EXPECT_TRUE(missing.empty());
}

TEST_F(TranslatorTest, LanguageOutsideTheLibraryIsIgnored) {
  ASSERT_TRUE(Load("TestLang3x200"));
  translator.SetLanguage(1);
  for (int index : {3, -1, 127, INT_MIN, INT_MAX}) {
    translator.SetLanguage(index);
    EXPECT_EQ(translator.Language(), 1) << index;
  }
}

TEST_F(TranslatorTest, SmallerLibraryBringsTheLanguageIntoRange) {
  ASSERT_TRUE(Load("TestLang3x200"));
  translator.SetLanguage(2);
  // A new name reloads at once while a library is loaded.
  translator.SetDllName("TestLang2.dll");
  EXPECT_TRUE(translator.LibraryLoaded());
  EXPECT_EQ(translator.LanguageCount(), 2);
  EXPECT_EQ(translator.Language(), 1);
  EXPECT_EQ(translator.GetString(5, 0), u"s205");
  EXPECT_FALSE(IsResident("TestLang3x200"));
}

TEST_F(TranslatorTest, NewNameDoesNotLoadWhileNoLibraryIsLoaded) {
  translator.SetDllName("TestLang3x200.dll");
  EXPECT_FALSE(translator.LibraryLoaded());
  EXPECT_EQ(translator.GetString(1, 0), u"<missing>");
}

TEST_F(TranslatorTest, MaxLengthCutsTheText) {
  ASSERT_TRUE(Load("TestLang3x200"));
  EXPECT_EQ(translator.GetString(kEsci, 3), u"Esc");
  EXPECT_EQ(translator.GetString(kEsci, 0), u"Esci");
  EXPECT_EQ(translator.GetString(kEsci, 4), u"Esci");
  EXPECT_EQ(translator.GetString(kEsci, 10), u"Esci");
  EXPECT_EQ(translator.GetString(kEsci, -1), u"Esci");
}

TEST_F(TranslatorTest, LongTextKeepsItsFirst254Characters) {
  ASSERT_TRUE(Load("TestLang3x200"));
  EXPECT_EQ(translator.GetString(kLongText, 0), LongText().substr(0, 254));
  translator.SetIsUnicode(false);
  EXPECT_EQ(translator.GetString(kLongText, 0), LongText().substr(0, 254));
}

TEST_F(TranslatorTest, NarrowLoaderGivesTheSameTexts) {
  ASSERT_TRUE(Load("TestLang3x200"));
  translator.SetIsUnicode(false);
  EXPECT_FALSE(translator.IsUnicode());
  EXPECT_EQ(translator.GetString(kNonAscii, 0), NonAsciiText());
  EXPECT_EQ(translator.GetLanguageName(1), u"s200");
  translator.SetIsUnicode(true);
  EXPECT_EQ(translator.GetString(kNonAscii, 0), NonAsciiText());
}

TEST_F(TranslatorTest, MissingTextsAskTheHandlerWithTheTextId) {
  ASSERT_TRUE(Load("TestLang3x200"));
  struct Case {
    int language;
    int id;
    const char* why;
  };
  for (Case c : {Case{1, kAbsentOffset, "no entry"}, Case{0, kEmptyText, "empty text"},
                 Case{1, 200, "beyond the block: language 2's name"},
                 Case{1, -1, "before the block: language 0's last text"}}) {
    translator.SetLanguage(c.language);
    missing.clear();
    EXPECT_EQ(translator.GetString(c.id, 0), u"<missing>") << c.why;
    EXPECT_EQ(missing, std::vector<int>{c.id}) << c.why;
  }
}

TEST_F(TranslatorTest, LanguageNameOutsideTheLibraryIsTheMissingTextForIdZero) {
  ASSERT_TRUE(Load("TestLang3x200"));
  for (int index : {-1, 3, INT_MIN}) {
    missing.clear();
    EXPECT_EQ(translator.GetLanguageName(index), u"<missing>") << index;
    EXPECT_EQ(missing, std::vector<int>{0}) << index;
  }
}

TEST_F(TranslatorTest, WithoutHandlerMissingTextIsEmpty) {
  translator.OnMissingString = nullptr;
  ASSERT_TRUE(Load("TestLang3x200"));
  EXPECT_EQ(translator.GetString(kAbsentOffset, 0), u"");
  EXPECT_EQ(translator.GetLanguageName(-1), u"");
}

TEST_F(TranslatorTest, WithoutLibraryEveryTextIsMissingAndOneLanguageIsCounted) {
  translator.OnMissingString = nullptr;
  for (const char* name : {"NoSuchLanguages.dll", ""}) {
    translator.SetDllName(name);
    EXPECT_FALSE(translator.LoadLanguageLibrary()) << name;
    EXPECT_FALSE(translator.LibraryProblem().empty()) << name;
    EXPECT_EQ(translator.LanguageCount(), 1);
    EXPECT_EQ(translator.StringsPerLanguage(), 1);
    EXPECT_EQ(translator.Language(), 0);
    EXPECT_EQ(translator.GetString(0, 0), u"");
    EXPECT_EQ(translator.GetString(kEsci, 0), u"");
    EXPECT_EQ(translator.GetLanguageName(0), u"");
  }
}

TEST_F(TranslatorTest, FreeingKeepsTheLanguageAndMissesEveryText) {
  ASSERT_TRUE(Load("TestLang3x200"));
  translator.SetLanguage(2);
  translator.FreeLanguageLibrary();
  EXPECT_FALSE(IsResident("TestLang3x200"));
  EXPECT_EQ(translator.LanguageCount(), 1);
  EXPECT_EQ(translator.StringsPerLanguage(), 1);
  EXPECT_EQ(translator.Language(), 2);
  EXPECT_EQ(translator.GetString(0, 0), u"<missing>");
  ASSERT_TRUE(translator.LoadLanguageLibrary());
  EXPECT_EQ(translator.GetString(3, 0), u"s403");
}

TEST_F(TranslatorTest, LibraryWithoutCountsHasOneLanguageOfOneString) {
  ASSERT_TRUE(Load("TestLang3x200"));
  translator.SetLanguage(2);
  ASSERT_TRUE(Load("TestLangNoCounts"));
  EXPECT_EQ(translator.LanguageCount(), 1);
  EXPECT_EQ(translator.StringsPerLanguage(), 1);
  EXPECT_EQ(translator.Language(), 0);
  EXPECT_NE(translator.LibraryProblem().find("_MaxLanguages"), std::string::npos);
  EXPECT_NE(translator.LibraryProblem().find("_MaxStrings"), std::string::npos);
  EXPECT_EQ(translator.GetLanguageName(0), u"s0");
  EXPECT_EQ(translator.GetString(0, 0), u"s0");
  EXPECT_EQ(translator.GetString(kEsci, 0), u"<missing>");
}

struct RefusedCase {
  const char* library;
  const char* problem;  // a part of LibraryProblem()
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.library; }

class RefusedLibraryTest : public TranslatorTest,
                           public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedLibraryTest, IsFreedAndLeavesNoLibrary) {
  const RefusedCase& c = GetParam();
  ASSERT_TRUE(Load("TestLang3x200"));
  translator.SetLanguage(2);
  EXPECT_FALSE(Load(c.library));
  EXPECT_FALSE(translator.LibraryLoaded());
  EXPECT_FALSE(IsResident(c.library));
  EXPECT_NE(translator.LibraryProblem().find(c.problem), std::string::npos)
      << translator.LibraryProblem();
  EXPECT_EQ(translator.LanguageCount(), 1);
  EXPECT_EQ(translator.StringsPerLanguage(), 1);
  EXPECT_EQ(translator.Language(), 0);
  EXPECT_EQ(translator.GetString(kEsci, 0), u"<missing>");
  EXPECT_EQ(translator.GetLanguageName(0), u"<missing>");
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, RefusedLibraryTest,
    ::testing::Values(RefusedCase{"TestLangNoTable", "_StringTable"},
                      RefusedCase{"TestLangBrokenTable", "past the end"},
                      RefusedCase{"TestLangNoLanguages", "reports 0 languages"},
                      RefusedCase{"TestLangNegativeLanguages", "reports -3 languages"},
                      RefusedCase{"TestLangNoStrings", "reports 0 strings"},
                      RefusedCase{"TestLangTooManyStrings", "16-bit"}));

TEST(TranslatorLifetime, DestroyingTheTranslatorFreesTheLibrary) {
  {
    TTranslator translator;
    translator.SetDllName("TestLang3x200.dll");
    ASSERT_TRUE(translator.LoadLanguageLibrary());
    EXPECT_TRUE(IsResident("TestLang3x200"));
  }
  EXPECT_FALSE(IsResident("TestLang3x200"));
}

TEST(TranslatorProperties, ResourceSetsNameLoaderAndHandler) {
  TTranslator translator;
  EXPECT_TRUE(translator.IsUnicode());
  std::vector<int> missing;
  TTranslator::TMissingStringEvent handler = [&](Component*, int id, std::u16string&) {
    missing.push_back(id);
  };
  EXPECT_TRUE(translator.SetProperty("DllName", std::string("TestLang3x200.dll")));
  EXPECT_TRUE(translator.SetProperty("IsUnicode", false));
  EXPECT_TRUE(translator.SetProperty("OnMissingString", MethodRef{"Missing", handler}));
  EXPECT_EQ(translator.DllName(), "TestLang3x200.dll");
  EXPECT_FALSE(translator.IsUnicode());
  ASSERT_TRUE(translator.LoadLanguageLibrary());
  translator.GetString(kAbsentOffset, 0);
  EXPECT_EQ(missing, std::vector<int>{kAbsentOffset});

  EXPECT_FALSE(translator.SetProperty("IsUnicode", 1LL));
  EXPECT_FALSE(translator.SetProperty("DllName", 5LL));
  EXPECT_FALSE(translator.SetProperty("OnMissingString", MethodRef{"Other", 5}));
  EXPECT_FALSE(translator.SetProperty("Language", 1LL));
  EXPECT_EQ(translator.DllName(), "TestLang3x200.dll");
  EXPECT_FALSE(translator.IsUnicode());
}

}  // namespace
