#include "components/storage/MemIniData.h"

#include <gtest/gtest.h>

#include "fixtures/TestFiles.h"
#include "platform/NumberText.h"

namespace vzt {
namespace {

using Lines = std::vector<std::string>;

std::unique_ptr<TextBuffer> BufferOf(std::string_view text) {
  return std::make_unique<TextBuffer>(TextBuffer::FromText(text));
}

Lines Serialised(TMemIniData& ini) {
  Lines lines;
  ini.GetStrings(lines);
  return lines;
}

class MemIniDataTest : public ::testing::Test {
 protected:
  // Loads the text and keeps the buffer variable alive as long as the store.
  TMemIniData& Load(std::string_view text) {
    buffer_ = BufferOf(text);
    ini_ = std::make_unique<TMemIniData>(&buffer_);
    return *ini_;
  }

  std::unique_ptr<TextBuffer> buffer_;
  std::unique_ptr<TMemIniData> ini_;
};

TEST_F(MemIniDataTest, ParsesSectionsValuesCommentsAndRepeatedSections) {
  TMemIniData& ini = Load(
      "orphan=1\r\n"
      "[A]\r\n"
      "  key  =  value \r\n"
      "; a comment\r\n"
      "\r\n"
      "[A]\r\n"
      "key=second\r\n");

  EXPECT_EQ(ini.ReadString("A", "key", "?"), "  value");
  EXPECT_EQ(ini.ReadString("A", "orphan", "?"), "?");
  EXPECT_EQ(Serialised(ini), (Lines{"[A]", "key=  value", "", "[A]", "key=second", ""}));
}

TEST_F(MemIniDataTest, SplitsAtEveryKindOfLineEnd) {
  TMemIniData& ini = Load("[S]\r\na=1\rb=2\nc=3\r\n\n\rd=4");

  Lines values;
  ini.ReadSectionValues("S", values);
  EXPECT_EQ(values, (Lines{"a=1", "b=2", "c=3", "d=4"}));
}

TEST_F(MemIniDataTest, LooksUpIgnoringCaseUnlessSwitchedToCaseSensitive) {
  TMemIniData& ini = Load("[A]\nkey=1\n");
  EXPECT_EQ(ini.ReadString("a", "KEY", "?"), "1");

  ini.SetCaseSensitive(true);
  EXPECT_TRUE(ini.CaseSensitive());
  EXPECT_EQ(ini.ReadString("a", "key", "?"), "?");
  EXPECT_EQ(ini.ReadString("A", "KEY", "?"), "?");
  EXPECT_EQ(ini.ReadString("A", "key", "?"), "1");
  // A section added later takes the store's setting.
  ini.WriteString("New", "x", "1");
  EXPECT_EQ(ini.ReadString("New", "X", "?"), "?");

  ini.SetCaseSensitive(false);
  EXPECT_EQ(ini.ReadString("a", "KEY", "?"), "1");
  EXPECT_EQ(ini.ReadString("NEW", "X", "?"), "1");
}

TEST_F(MemIniDataTest, KeepsLinesWithoutEqualsButNeverFindsThemByName) {
  TMemIniData& ini = Load("[S]\n[broken\nplain text\nk=v\n");

  EXPECT_EQ(ini.ReadString("S", "[broken", "?"), "?");
  EXPECT_EQ(ini.ReadString("S", "", "?"), "?");
  EXPECT_FALSE(ini.ValueExists("S", "plain text"));
  Lines names;
  ini.ReadSection("S", names);
  EXPECT_EQ(names, (Lines{"", "", "k"}));
  EXPECT_EQ(Serialised(ini), (Lines{"[S]", "[broken", "plain text", "k=v", ""}));
}

TEST_F(MemIniDataTest, ValueIsEverythingAfterTheFirstEqualsOfTheFirstLineOfThatName) {
  TMemIniData& ini = Load("[S]\nk=a=b\nK=later\n");
  EXPECT_EQ(ini.ReadString("S", "k", "?"), "a=b");
}

TEST_F(MemIniDataTest, WriteStringReplacesInPlaceOrAppendsToSectionOrStore) {
  TMemIniData& ini = Load("[A]\none=1\ntwo=2\n[B]\nx=0\n");

  ini.WriteString("a", "ONE", "10");
  ini.WriteString("A", "three", "3");
  ini.WriteString("C", "new", "n");

  EXPECT_EQ(Serialised(ini), (Lines{"[A]", "ONE=10", "two=2", "three=3", "", "[B]", "x=0", "",
                                    "[C]", "new=n", ""}));
  EXPECT_EQ(ini.ReadString("A", "one", "?"), "10");
  Lines names;
  ini.ReadSection("A", names);
  EXPECT_EQ(names, (Lines{"ONE", "two", "three"}));
}

TEST_F(MemIniDataTest, EraseSectionAndDeleteKeyRemoveOnlyWhatIsFound) {
  TMemIniData& ini = Load("[A]\nk=first\nm=1\n[B]\nk=b\n[A]\nk=second\n");

  ini.DeleteKey("A", "m");
  ini.DeleteKey("A", "missing");
  ini.DeleteKey("Missing", "k");
  EXPECT_FALSE(ini.ValueExists("A", "m"));
  EXPECT_EQ(ini.ReadString("A", "k", "?"), "first");

  // With the first of two sections of a name gone, lookups find the second.
  ini.EraseSection("a");
  ini.EraseSection("Missing");
  EXPECT_EQ(ini.ReadString("A", "k", "?"), "second");
  Lines sections;
  ini.ReadSections(sections);
  EXPECT_EQ(sections, (Lines{"B", "A"}));
}

TEST_F(MemIniDataTest, MissingSectionsGiveEmptyListsAndDefaults) {
  TMemIniData& ini = Load("[A]\nk=1\n");
  Lines list{"stale"};
  ini.ReadSection("Z", list);
  EXPECT_TRUE(list.empty());
  list = {"stale"};
  ini.ReadSectionValues("Z", list);
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(ini.SectionExists("Z"));
  EXPECT_TRUE(ini.SectionExists("a"));
  EXPECT_EQ(ini.ReadInteger("Z", "k", -7), -7);
}

struct BufferCase {
  const char* what;
  std::vector<unsigned char> bytes;
  Lines expected;
};

class MemIniDataBufferTest : public ::testing::TestWithParam<BufferCase> {};

// The store must never read past the bytes it was given, whatever the length field says.
TEST_P(MemIniDataBufferTest, ParsesOnlyTheTextThatIsThere) {
  auto buffer = std::make_unique<TextBuffer>(GetParam().bytes);
  TMemIniData ini(&buffer);
  EXPECT_EQ(Serialised(ini), GetParam().expected);
}

std::vector<unsigned char> Bytes(std::initializer_list<unsigned char> head, std::string_view text) {
  std::vector<unsigned char> bytes(head);
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Buffers, MemIniDataBufferTest,
    ::testing::Values(
        BufferCase{"length larger than the data", Bytes({0xff, 0, 0, 0}, "[S]\nk=v"),
                   {"[S]", "k=v", ""}},
        BufferCase{"huge length", Bytes({0xff, 0xff, 0xff, 0x7f}, "[S]\nk=v"), {"[S]", "k=v", ""}},
        BufferCase{"length shorter than the data", Bytes({7, 0, 0, 0}, "[S]\nk=vXXX\n[T]"),
                   {"[S]", "k=v", ""}},
        BufferCase{"negative length", Bytes({0xff, 0xff, 0xff, 0xff}, "[S]\nk=v"), {}},
        BufferCase{"zero length", Bytes({0, 0, 0, 0}, "[S]\nk=v"), {}},
        BufferCase{"shorter than the length field", Bytes({3, 0}, ""), {}},
        BufferCase{"empty", {}, {}}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(MemIniDataNoBuffer, StartsEmptyAndUpdateFileFillsTheCallersVariable) {
  std::unique_ptr<TextBuffer> none;
  TMemIniData ini(&none);
  EXPECT_TRUE(Serialised(ini).empty());

  ini.UpdateFile();
  ASSERT_TRUE(none);
  EXPECT_EQ(none->Bytes(), (std::vector<unsigned char>{0, 0, 0, 0, 0}));

  TMemIniData detached(nullptr);
  detached.WriteString("S", "k", "v");
  detached.UpdateFile();
  EXPECT_EQ(detached.ReadString("S", "k", "?"), "v");
}

TEST_F(MemIniDataTest, UpdateFileReplacesTheCallersBufferWithTheSerialisedText) {
  TMemIniData& ini = Load("[A]\r\nk=1\r\n");
  const TextBuffer* old = buffer_.get();
  ini.WriteString("B", "x", "2");
  ini.UpdateFile();

  ASSERT_NE(buffer_.get(), old);
  const std::string text = "[A]\r\nk=1\r\n\r\n[B]\r\nx=2\r\n\r\n";
  EXPECT_EQ(buffer_->DeclaredLength(), static_cast<std::int32_t>(text.size()));
  EXPECT_EQ(buffer_->Text(), text);
  ASSERT_EQ(buffer_->Size(), text.size() + 5);
  EXPECT_EQ(buffer_->Bytes().back(), 0);

  // A fresh store on the new buffer sees the same contents.
  TMemIniData again(&buffer_);
  EXPECT_EQ(Serialised(again), Serialised(ini));
}

TEST_F(MemIniDataTest, LoadValuesReparsesTheBufferDroppingUnsavedWrites) {
  TMemIniData& ini = Load("[A]\nk=1\n");
  ini.WriteString("A", "k", "2");
  ini.LoadValues();
  EXPECT_EQ(ini.ReadString("A", "k", "?"), "1");
}

TEST_F(MemIniDataTest, SetStringsReplacesTheContents) {
  TMemIniData& ini = Load("[Old]\nk=1\n");
  ini.SetStrings({"[New]", " a = 1"});
  EXPECT_EQ(Serialised(ini), (Lines{"[New]", "a= 1", ""}));
}

struct IntegerCase {
  const char* text;
  int expected;
};

class MemIniDataIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(MemIniDataIntegerTest, ReadsDecimalAndHexOrGivesTheDefault) {
  auto buffer = BufferOf(std::string("[S]\nk=") + GetParam().text);
  TMemIniData ini(&buffer);
  EXPECT_EQ(ini.ReadInteger("S", "k", -99), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, MemIniDataIntegerTest,
                         ::testing::Values(IntegerCase{"0x1F", 31}, IntegerCase{"0X1f", 31},
                                           IntegerCase{"$1F", 31}, IntegerCase{"-12", -12},
                                           IntegerCase{"12abc", -99}, IntegerCase{"0x", -99},
                                           IntegerCase{"", -99},
                                           IntegerCase{"99999999999", -99}));

class DecimalSeparatorGuard {
 public:
  explicit DecimalSeparatorGuard(char separator) { SetDecimalSeparator(separator); }
  ~DecimalSeparatorGuard() { SetDecimalSeparator('\0'); }
};

struct FloatCase {
  char regional;
  const char* text;
  double expected;
};

class MemIniDataFloatTest : public ::testing::TestWithParam<FloatCase> {};

// Files written under other regional settings use the other separator; both must read.
TEST_P(MemIniDataFloatTest, ReadsEitherSeparatorOrGivesTheDefault) {
  DecimalSeparatorGuard guard(GetParam().regional);
  auto buffer = BufferOf(std::string("[S]\nk=") + GetParam().text);
  TMemIniData ini(&buffer);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "k", -1.5), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, MemIniDataFloatTest,
                         ::testing::Values(FloatCase{'.', "0.55", 0.55}, FloatCase{'.', "0,55", 0.55},
                                           FloatCase{',', "0,55", 0.55}, FloatCase{',', "0.55", 0.55},
                                           FloatCase{'.', "1275", 1275}, FloatCase{'.', "", -1.5},
                                           FloatCase{'.', "1.2.3", -1.5},
                                           FloatCase{'.', "abc", -1.5}));

TEST(MemIniDataFloatWrite, WritesTheRegionalSeparator) {
  std::unique_ptr<TextBuffer> none;
  TMemIniData ini(&none);
  {
    DecimalSeparatorGuard guard(',');
    ini.WriteFloat("S", "comma", 0.55);
  }
  DecimalSeparatorGuard guard('.');
  ini.WriteFloat("S", "point", 0.55);
  ini.WriteFloat("S", "whole", 2000);
  EXPECT_EQ(ini.ReadString("S", "comma", ""), "0,55");
  EXPECT_EQ(ini.ReadString("S", "point", ""), "0.55");
  EXPECT_EQ(ini.ReadString("S", "whole", ""), "2000");
}

TEST_F(MemIniDataTest, SaveToFileWritesCrLfLinesAndFailsCleanly) {
  test::ScratchFolder folder;
  TMemIniData& ini = Load("[A]\nk=1\n");
  ASSERT_TRUE(ini.SaveToFile(folder.File("out.ini")));
  EXPECT_EQ(test::ReadFile(folder.File("out.ini")), "[A]\r\nk=1\r\n\r\n");

  EXPECT_FALSE(ini.SaveToFile(folder.File("missing/out.ini")));
  EXPECT_EQ(folder.Entries(), (std::set<std::string>{"out.ini"}));
}

}  // namespace
}  // namespace vzt
