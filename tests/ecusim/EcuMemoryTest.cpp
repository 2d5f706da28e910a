#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "ecusim/EcuMemory.h"
#include "ecusim/EcuParameterTable.h"
#include "ecusim/EepromFile.h"
#include "ecusim/SimulatorProcess.h"

namespace vzt {
namespace {

TEST(EcuParameterTable, ParametersSharingBitsAgreeOnTheirFactoryValue) {
  std::map<int, std::pair<int, int>> claimed;  // address -> (mask so far, value so far)
  for (const EcuParameter& p : EcuParameters()) {
    auto& [mask, value] = claimed[p.address];
    const int shared = mask & p.mask;
    EXPECT_EQ(value & shared, p.factory & shared) << p.name;
    EXPECT_EQ(p.factory & ~p.mask, 0) << p.name << " has factory bits outside its mask";
    mask |= p.mask;
    value |= p.factory & p.mask;
  }
}

// Factory bytes are the program's defaults in the controller's units; shared bytes merge
// the defaults of every parameter in them.
TEST(EcuMemory, FactoryContentsAreTheDefaultsAsBytes) {
  struct Case {
    unsigned address;
    std::uint8_t byte;
  };
  const Case cases[] = {
      {163, 0x28},  // ignition 0, changeover 1 (0x08), emulation 1 (0x20)
      {164, 0x01},  // first level sensor is controller value 1
      {165, 0x00},  // user value 16 with bit 4 inverted
      {216, 101},   // 0.4 s overlap
      {166, 143},   // 2.8 V
      {224, 128},   // 25 °C
      {226, 5},     // push-button switch
      {223, 59},    // 2000 RPM with the constant 117000
      {204, 78},    // 1500 RPM
      {225, 10},    // 12000 RPM
      {162, 32},
      {122, 0},     // default not acquired yet
      {161, 0},
  };
  const EcuMemory memory;
  for (const Case& c : cases) EXPECT_EQ(memory.Read(c.address), c.byte) << "address " << c.address;
}

TEST(EcuMemory, OnlyDefinedAddressesCanBeReadOrWritten) {
  EcuMemory memory;
  for (unsigned address : {0u, 121u, 160u, 176u, 255u, 256u, 70000u}) {
    EXPECT_FALSE(memory.Read(address)) << address;
    EXPECT_FALSE(memory.Write(address, 1)) << address;
  }
  EXPECT_EQ(memory.Bytes()[0], EcuMemory::kErased);
  EXPECT_TRUE(memory.Write(216, 7));
  EXPECT_EQ(memory.Read(216), 7);
  memory.RestoreFactory();
  EXPECT_EQ(memory.Read(216), 101);
}

class EepromFileTest : public ::testing::Test {
 protected:
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  void WriteBytes(const std::string& name, std::size_t count) const {
    std::ofstream(Path(name), std::ios::binary) << std::string(count, '\x11');
  }

  std::string folder_ = SimulatorProcess::MakeTemporaryFolder();
};

TEST_F(EepromFileTest, SavedImageLoadsBackAndLeavesNoTemporaryFile) {
  EcuMemory::Image image = EcuMemory::FactoryImage();
  image[216] = 3;
  std::string error;
  const EepromFile file(Path("memory.bin"));
  ASSERT_TRUE(file.Save(image, error)) << error;
  const auto loaded = file.Load(error);
  ASSERT_TRUE(loaded) << error;
  EXPECT_EQ(*loaded, image);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
}

TEST_F(EepromFileTest, FileOfAnotherSizeIsRejected) {
  for (std::size_t size : {0u, 255u, 257u, 4096u}) {
    WriteBytes("memory.bin", size);
    std::string error;
    EXPECT_FALSE(EepromFile(Path("memory.bin")).Load(error)) << size;
    EXPECT_NE(error.find("256 bytes"), std::string::npos) << error;
  }
}

TEST_F(EepromFileTest, FailedSaveKeepsThePreviousFile) {
  WriteBytes("memory.bin", EcuMemory::kSize);
  // A folder where the temporary file should go makes the save fail.
  ASSERT_TRUE(std::filesystem::create_directory(Path("memory.bin.tmp" + std::to_string(getpid()))));
  std::string error;
  EXPECT_FALSE(EepromFile(Path("memory.bin")).Save(EcuMemory::FactoryImage(), error));
  EXPECT_FALSE(error.empty());
  const auto kept = EepromFile(Path("memory.bin")).Load(error);
  ASSERT_TRUE(kept);
  EXPECT_EQ((*kept)[0], 0x11);
}

}  // namespace
}  // namespace vzt
