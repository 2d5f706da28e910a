// The application object every widget test needs, and a configuration folder of the test's
// own, so that settings written by the windows never reach the user's.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <filesystem>
#include <memory>
#include <string>

#include "app/MainThreadWake.h"

namespace {

class QtTestEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    char pattern[] = "/tmp/vzt-app-test-XXXXXX";
    if (const char* made = ::mkdtemp(pattern)) folder_ = made;
    ::setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
    application_ = std::make_unique<QApplication>(argc_, argv_);
    vzt::RunMainThreadCallsInEventLoop();
  }

  void TearDown() override {
    vzt::StopMainThreadWake();
    application_.reset();
    std::error_code ec;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
  }

 private:
  int argc_ = 1;
  char name_[16] = "vzt-app-test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
  std::string folder_;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtTestEnvironment);

}  // namespace
