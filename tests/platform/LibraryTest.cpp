#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/Library.h"

using namespace vzt;

namespace {

TEST(Library, MapsProgramNamesToThisPlatform) {
  const std::pair<const char*, const char*> cases[] = {
      {"SerQorDL.dll", "SerQorDL.so"},
      {"Dizionario\\Languages.dll", "Dizionario/Languages.so"},
      {"Name.DLL", "Name.so"},
      {"libm.so.6", "libm.so.6"},
      {"/abs/path/X.dll", "/abs/path/X.so"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(MapLibraryName(in), out) << in;
}

TEST(Library, ProgramFolderHoldsThisTest) {
  EXPECT_TRUE(std::filesystem::exists(ProgramFolder() + "/platform_library_test"));
}

TEST(Library, NeverLoadsFromTheCurrentDirectory) {
  // A file with the right name in the current directory must not be picked up.
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("vzt_lib_" + std::to_string(getpid()));
  fs::create_directories(dir);
  fs::copy_file("/proc/self/exe", dir / "Impostor.so", fs::copy_options::overwrite_existing);
  const fs::path old = fs::current_path();
  fs::current_path(dir);
  Library lib;
  EXPECT_FALSE(lib.Load("Impostor.dll"));
  EXPECT_FALSE(lib.Load("sub\\Impostor.dll"));
  fs::current_path(old);
  fs::remove_all(dir);
}

TEST(Library, LoadsSystemLibrariesAndFindsSymbols) {
  Library lib;
  ASSERT_TRUE(lib.Load("libm.so.6")) << lib.Error();
  EXPECT_NE(lib.Symbol("cos"), nullptr);
  EXPECT_EQ(lib.Symbol("no_such_symbol_here"), nullptr);
  EXPECT_EQ(lib.Symbol(nullptr), nullptr);
  Library moved = std::move(lib);
  EXPECT_FALSE(lib.IsLoaded());
  EXPECT_TRUE(moved.IsLoaded());
  moved.Free();
  EXPECT_EQ(moved.Symbol("cos"), nullptr);
}

TEST(Library, FailuresSayWhy) {
  Library lib;
  EXPECT_FALSE(lib.Load(""));
  EXPECT_FALSE(lib.Error().empty());
  EXPECT_FALSE(lib.Load("NoSuchLibrary.dll"));
  EXPECT_FALSE(lib.Error().empty());
}

}  // namespace
