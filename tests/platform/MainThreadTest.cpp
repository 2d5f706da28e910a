#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/MainThread.h"

using namespace vzt;
using namespace std::chrono_literals;

namespace {

TEST(MainThread, CallsFromTheMainThreadRunAtOnce) {
  auto& main = MainThread::Instance();
  EXPECT_TRUE(main.IsMainThread());
  int ran = 0;
  main.RunAndWait([&] { ++ran; });
  EXPECT_EQ(ran, 1);
}

TEST(MainThread, WorkerCallsRunInTheMainThreadAndTheWorkerWaits) {
  auto& main = MainThread::Instance();
  std::atomic<int> woken{0};
  main.SetWakeHandler([&] { ++woken; });
  std::thread::id ranOn;
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    main.RunAndWait([&] { ranOn = std::this_thread::get_id(); });
    returned = true;
  });
  int ran = 0;
  for (int i = 0; i < 2000 && ran == 0; ++i) ran = main.WaitAndProcess(5ms);
  worker.join();
  main.SetWakeHandler(nullptr);
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  EXPECT_TRUE(returned);
  EXPECT_EQ(woken, 1);
  EXPECT_EQ(main.ProcessPending(), 0);
}

TEST(MainThread, NothingPendingMeansNothingRuns) {
  EXPECT_EQ(MainThread::Instance().WaitAndProcess(1ms), 0);
}

}  // namespace
