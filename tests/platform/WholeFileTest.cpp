#include "platform/WholeFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fixtures/TestFiles.h"

namespace vzt {
namespace {

using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;

unsigned ModeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

struct ReadCase {
  const char* name;
  std::size_t size;  // bytes in the file
  std::size_t limit;
  FileReadStatus status;
};

class ReadLimitTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadLimitTest, ReadsOnlyFilesWithinTheLimit) {
  const ReadCase& c = GetParam();
  ScratchFolder folder;
  const std::string path = folder.File("file");
  WriteFile(path, std::string(c.size, 'x'));
  const FileReadResult read = ReadWholeFile(path, c.limit);
  EXPECT_EQ(read.status, c.status);
  if (c.status == FileReadStatus::Ok)
    EXPECT_EQ(read.content.size(), c.size);
  else
    EXPECT_FALSE(read.error.empty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReadLimitTest,
                         ::testing::Values(ReadCase{"Empty", 0, 16, FileReadStatus::Ok},
                                           ReadCase{"AtTheLimit", 16, 16, FileReadStatus::Ok},
                                           ReadCase{"OneByteOver", 17, 16, FileReadStatus::Failed},
                                           ReadCase{"SpansReadChunks", 20000, 20000,
                                                    FileReadStatus::Ok}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WholeFile, MissingFileAndFolderAreToldApart) {
  ScratchFolder folder;
  EXPECT_EQ(ReadWholeFile(folder.File("absent"), 16).status, FileReadStatus::Missing);
  const FileReadResult folderRead = ReadWholeFile(folder.Path(), 16);
  EXPECT_EQ(folderRead.status, FileReadStatus::Failed);
  EXPECT_FALSE(folderRead.error.empty());
}

TEST(WholeFile, NewFileTakesTheGivenModeAndAReplacedOneKeepsItsOwn) {
  ScratchFolder folder;
  std::string error;
  const std::string fresh = folder.File("fresh");
  ASSERT_TRUE(WriteFileAtomically(fresh, "a", error, 0600)) << error;
  EXPECT_EQ(ModeOf(fresh), 0600u);

  const std::string existing = folder.File("existing");
  WriteFile(existing, "old");
  ASSERT_EQ(::chmod(existing.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomically(existing, "new", error, 0600)) << error;
  EXPECT_EQ(ModeOf(existing), 0640u);
  EXPECT_EQ(ReadFile(existing), "new");
  EXPECT_EQ(folder.Entries(), (std::set<std::string>{"existing", "fresh"}));
}

TEST(WholeFile, FailedWriteLeavesNothingBehind) {
  ScratchFolder folder;
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(folder.File("no-such-folder/file"), "a", error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(WriteFileAtomically("", "a", error));
  const std::string file = folder.File("file");
  WriteFile(file, "old");
  {
    test::FileSizeLimit limit(2);
    EXPECT_FALSE(WriteFileAtomically(file, "longer than two bytes", error));
  }
  EXPECT_EQ(ReadFile(file), "old");
  EXPECT_EQ(folder.Entries(), std::set<std::string>{"file"});
}

}  // namespace
}  // namespace vzt
