#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "components/comm/Qorconnection.h"
#include "platform/Library.h"

using namespace vzt;

namespace {

std::string LibraryPath(const std::string& base) { return ProgramFolder() + "/" + base + ".so"; }

bool IsResident(const std::string& base) {
  void* h = dlopen(LibraryPath(base).c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (!h) return false;
  dlclose(h);
  return true;
}

struct VersionCase {
  const char* library;
  bool accepted;
};

void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.library; }

class VersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionTest, AcceptsFrom493AndFreesWhatItRejects) {
  const VersionCase& c = GetParam();
  TQorConnection conn;
  conn.SetDllName(std::string(c.library) + ".dll");
  EXPECT_EQ(conn.LoadDll(), c.accepted);
  EXPECT_EQ(conn.Loaded(), c.accepted);
  EXPECT_EQ(conn.Link() != nullptr, c.accepted);
  EXPECT_EQ(IsResident(c.library), c.accepted);
  conn.UnloadDll();
  EXPECT_FALSE(IsResident(c.library));
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, VersionTest,
    ::testing::Values(VersionCase{"TestLink_4_9_2", false}, VersionCase{"TestLink_3_99_99", false},
                      VersionCase{"TestLink_VersionFails", false},
                      VersionCase{"TestLink_4_9_3", true}, VersionCase{"TestLink_4_10_0", true},
                      VersionCase{"TestLink_5_0_0", true}, VersionCase{"TestLink_NoCreate", false},
                      VersionCase{"TestLink_NoDestroy", false},
                      VersionCase{"TestLink_NoVersion", false},
                      VersionCase{"NoSuchLibrary", false}),
    [](const auto& info) { return std::string(info.param.library); });

TEST(Qorconnection, FailedLoadIsRetriedWithTheNextName) {
  TQorConnection conn;
  conn.SetDllName("TestLink_NoCreate.dll");
  EXPECT_FALSE(conn.LoadDll());
  EXPECT_FALSE(conn.LoadDll());
  conn.SetDllName("TestLink_4_10_0.dll");
  EXPECT_TRUE(conn.LoadDll());
}

TEST(Qorconnection, DllNameIsIgnoredWhileLoaded) {
  TQorConnection conn;
  conn.SetDllName("TestLink_4_10_0.dll");
  ASSERT_TRUE(conn.LoadDll());
  conn.SetDllName("TestLink_5_0_0.dll");
  EXPECT_EQ(conn.DllName(), "TestLink_4_10_0.dll");
  conn.UnloadDll();
  conn.SetDllName("TestLink_5_0_0.dll");
  ASSERT_TRUE(conn.LoadDll());
  EXPECT_TRUE(IsResident("TestLink_5_0_0"));
}

TEST(Qorconnection, GetDllVersionOnlyWhileLoaded) {
  TQorConnection conn;
  conn.SetDllName("TestLink_4_10_0.dll");
  FILE_VERSION_DATA v{};
  EXPECT_FALSE(conn.GetDllVersion(&v));
  ASSERT_TRUE(conn.LoadDll());
  EXPECT_FALSE(conn.GetDllVersion(nullptr));
  ASSERT_TRUE(conn.GetDllVersion(&v));
  EXPECT_EQ(v.major, 4u);
  EXPECT_EQ(v.minor, 10u);
  EXPECT_EQ(v.release, 0u);
  EXPECT_EQ(v.build, 77u);
}

TEST(Qorconnection, EmptyNameFailsQuietly) {
  TQorConnection conn;
  conn.SetDllName("");
  EXPECT_FALSE(conn.LoadDll());
}

// The library's own record of the calls made on its link.
std::vector<std::string> calls;
void RecordCall(const char* call) { calls.emplace_back(call); }

class UnloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    // A handle of our own keeps the library (and its recorder) alive after the unload.
    ASSERT_TRUE(keeper.Load("TestLink_4_10_0.dll"));
    keeper.Function<void (*)(void (*)(const char*))>("TestLink_SetRecorder")(&RecordCall);
    conn.SetDllName("TestLink_4_10_0.dll");
    ASSERT_TRUE(conn.LoadDll());
  }
  void TearDown() override {
    if (keeper.IsLoaded())
      keeper.Function<void (*)(void (*)(const char*))>("TestLink_SetRecorder")(nullptr);
  }

  Library keeper;
  TQorConnection conn;
};

TEST_F(UnloadTest, OpenLinkIsClosedBeforeItIsDestroyed) {
  conn.Link()->Open();
  conn.UnloadDll();
  EXPECT_EQ(calls, (std::vector<std::string>{"Create", "Open", "Close", "Destroy"}));
  EXPECT_FALSE(conn.Loaded());
  EXPECT_EQ(conn.Link(), nullptr);
}

TEST_F(UnloadTest, ClosedLinkIsReleasedInstead) {
  conn.UnloadDll();
  EXPECT_EQ(calls, (std::vector<std::string>{"Create", "ReleaseLink", "Destroy"}));
}

TEST_F(UnloadTest, DestructorUnloadsAndSecondUnloadDoesNothing) {
  conn.UnloadDll();
  conn.UnloadDll();
  EXPECT_EQ(calls.size(), 3u);
  {
    TQorConnection other;
    other.SetDllName("TestLink_4_10_0.dll");
    ASSERT_TRUE(other.LoadDll());
  }
  EXPECT_EQ(calls.back(), "Destroy");
}

TEST_F(UnloadTest, UnloadWaitsForTheLockHolder) {
  conn.Lock().Acquire();
  std::thread t([&] { conn.UnloadDll(); });
  // The unload cannot complete while another thread holds the lock.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(conn.Loaded());
  conn.Lock().Release();
  t.join();
  EXPECT_FALSE(conn.Loaded());
}

TEST(Qorconnection, PropertiesFromAResource) {
  TQorConnection conn;
  EXPECT_TRUE(conn.SetProperty("AutoLoadLibrary", false));
  EXPECT_TRUE(conn.SetProperty("DllName", std::string("Other.dll")));
  EXPECT_FALSE(conn.SetProperty("DllName", 3LL));
  EXPECT_FALSE(conn.SetProperty("NoSuchProperty", true));
  EXPECT_FALSE(conn.AutoLoadLibrary());
  EXPECT_EQ(conn.DllName(), "Other.dll");
}

}  // namespace
