// The language library the build makes from languages/*.txt, read through the translator
// as the program reads it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/translator/Translator.h"
#include "languages/TextIds.h"

using namespace vzt;

namespace {

class LanguageLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    translator.OnMissingString = [this](Component*, int id, std::u16string&) {
      missing.push_back(id);
    };
    translator.SetDllName("Dizionario\\Languages.dll");
    ASSERT_TRUE(translator.LoadLanguageLibrary()) << translator.LibraryProblem();
  }

  TTranslator translator;
  std::vector<int> missing;
};

TEST_F(LanguageLibrary, NamesItsLanguagesInTheirOwnWords) {
  EXPECT_TRUE(translator.LibraryProblem().empty()) << translator.LibraryProblem();
  const std::u16string names[] = {u"Italiano", u"English", u"Polski", u"Espa\u00F1ol"};
  ASSERT_EQ(translator.LanguageCount(), static_cast<int>(std::size(names)));
  for (int i = 0; i < translator.LanguageCount(); ++i)
    EXPECT_EQ(translator.GetLanguageName(i), names[i]) << i;
  EXPECT_GT(translator.StringsPerLanguage(), kProgramTextIds[std::size(kProgramTextIds) - 1].last);
}

TEST_F(LanguageLibrary, EveryLanguageHoldsEveryTextTheProgramUses) {
  for (int language = 0; language < translator.LanguageCount(); ++language) {
    translator.SetLanguage(language);
    missing.clear();
    for (const TextIdRange& r : kProgramTextIds)
      for (int id = r.first; id <= r.last; ++id) translator.GetString(id, 0);
    EXPECT_TRUE(missing.empty()) << "language " << language << " lacks id " << missing.front();
  }
}

TEST_F(LanguageLibrary, ItalianTextsAreTheWindowsOwn) {
  translator.SetLanguage(0);
  struct Case {
    int id;
    std::u16string text;
  };
  const Case cases[] = {{2, u"MENU' PRINCIPALE"},         {6, u"Esci"},
                        {10, u"Centralina non connessa"}, {53, u"Lineare 0\u00F75 Volt"},
                        {65, u"0,8\u00F71,6 Volt"},       {105, u"\u00B0C"}};
  for (const Case& c : cases) EXPECT_EQ(translator.GetString(c.id, 0), c.text) << c.id;
}

// The ignition-type entries 27 to 32 name types 0 to 5. For a four-stroke engine the
// controller's engine-speed constant is 468000 / cylinders (117000 for four cylinders), so
// the cylinder count each entry starts with must give its type's constant.
TEST_F(LanguageLibrary, IgnitionTypesAgreeWithTheEngineSpeedConstants) {
  const int constant_of_type[] = {117000, 93600, 78000, 58500, 117000, 117000};
  for (int language = 0; language < translator.LanguageCount(); ++language) {
    translator.SetLanguage(language);
    for (int type = 0; type < 6; ++type) {
      std::u16string entry = translator.GetString(27 + type, 0);
      ASSERT_FALSE(entry.empty());
      ASSERT_TRUE(entry[0] >= u'1' && entry[0] <= u'9' && (entry.size() < 2 || entry[1] == u' '))
          << "language " << language << " type " << type;
      EXPECT_EQ(468000 / (entry[0] - u'0'), constant_of_type[type])
          << "language " << language << " type " << type;
    }
  }
}

}  // namespace
