// The thread holder under a real message loop: replaced threads stay silent, waits end.
#include "auThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace {

void PumpFor(DWORD Milliseconds, const std::function<bool()>& Done = {}) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < Milliseconds) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    if (Done && Done()) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

int Generation(TauEventThread& Thread) { return Thread.Context ? *std::static_pointer_cast<int>(Thread.Context) : 0; }

void WaitWindowGone() {
  PumpFor(5000, [] { return ThreadWindowHandle() == nullptr; });
}

TEST(auThread, ExecuteInsideCompletionStartsFreshThreadAndOldOneStaysSilent) {
  TauCustomThread holder;
  holder.FWaitThread = true;
  std::atomic<int> syncRuns[3] = {0, 0, 0};
  int terminates[3] = {0, 0, 0};
  DWORD threadIds[3] = {0, 0, 0};
  bool busyInHandler = true;
  bool innerResult = false;
  holder.SetOnExecute([&](TauEventThread& t) {
    threadIds[Generation(t)] = ::GetCurrentThreadId();
    t.Synchronize([&, g = Generation(t)] { ++syncRuns[g]; });
  });
  holder.SetOnTerminate([&](TauEventThread& t) {
    const int g = Generation(t);
    ++terminates[g];
    if (g == 1) {
      busyInHandler = holder.Running();
      holder.FNextContext = std::make_shared<int>(2);
      innerResult = holder.Execute();
    }
  });
  holder.FNextContext = std::make_shared<int>(1);
  EXPECT_TRUE(holder.Execute());
  PumpFor(300);
  EXPECT_FALSE(busyInHandler);
  EXPECT_TRUE(innerResult);
  EXPECT_EQ(syncRuns[1], 1);
  EXPECT_EQ(syncRuns[2], 1);
  EXPECT_EQ(terminates[1], 1);
  EXPECT_EQ(terminates[2], 1);
  EXPECT_NE(threadIds[1], threadIds[2]);
  EXPECT_FALSE(holder.Running());
}

TEST(auThread, ReplacedThreadNeverDeliversAgain) {
  TauCustomThread holder;
  const HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE blocked = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> syncRuns[3] = {0, 0, 0};
  int terminates[3] = {0, 0, 0};
  std::atomic<bool> firstEnded{false};
  holder.SetOnExecute([&](TauEventThread& t) {
    const int g = Generation(t);
    if (g == 1) {
      ::SetEvent(blocked);
      ::WaitForSingleObject(release, 5000);  // a blocking read, cut by OnAbandon
    }
    t.Synchronize([&, g] { ++syncRuns[g]; });
    if (g == 1) firstEnded = true;
  });
  holder.SetOnTerminate([&](TauEventThread& t) { ++terminates[Generation(t)]; });
  holder.SetOnAbandon([&](TauEventThread&) { ::SetEvent(release); });

  holder.FNextContext = std::make_shared<int>(1);
  EXPECT_TRUE(holder.Execute());
  ASSERT_EQ(::WaitForSingleObject(blocked, 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(holder.Running());

  holder.FWaitThread = true;
  holder.FNextContext = std::make_shared<int>(2);
  EXPECT_TRUE(holder.Execute());
  PumpFor(3000, [&] { return firstEnded.load(); });
  PumpFor(200);
  EXPECT_TRUE(firstEnded);
  EXPECT_EQ(syncRuns[1], 0);
  EXPECT_EQ(terminates[1], 0);
  EXPECT_EQ(syncRuns[2], 1);
  EXPECT_EQ(terminates[2], 1);
  ::CloseHandle(release);
  ::CloseHandle(blocked);
}

TEST(auThread, SynchronizeWhileOwnerIsDestroyedReturnsAtOnce) {
  TauCustomThread holder;
  const HANDLE go = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE started = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> ran{false}, returned{false};
  holder.SetOnExecute([&](TauEventThread& t) {
    ::SetEvent(started);
    ::WaitForSingleObject(go, 5000);
    t.Synchronize([&] { ran = true; });
    returned = true;
  });
  holder.FNextContext = std::make_shared<int>(1);
  holder.Execute();
  ASSERT_EQ(::WaitForSingleObject(started, 5000), WAIT_OBJECT_0);
  holder.OwnerDestroying();
  ::SetEvent(go);
  // No messages are served here: a call that went to the window would hang the worker.
  const DWORD start = ::GetTickCount();
  while (!returned && ::GetTickCount() - start < 3000) ::Sleep(10);
  EXPECT_TRUE(returned);
  EXPECT_FALSE(ran);
  ::CloseHandle(go);
  ::CloseHandle(started);
}

TEST(auThread, WaitTimeoutReturnsFalseAndReportsOnce) {
  TauCustomThread holder;
  holder.FWaitThread = true;
  holder.FWaitTimeout = 200;
  int expired = 0, terminates = 0;
  holder.FOnWaitTimeoutExpired = [&] { ++expired; };
  holder.SetOnExecute([](TauEventThread& t) {
    for (int i = 0; i < 500 && !t.Terminated(); ++i) ::Sleep(10);
  });
  holder.SetOnTerminate([&](TauEventThread&) { ++terminates; });
  const DWORD start = ::GetTickCount();
  EXPECT_FALSE(holder.Execute());
  const DWORD spent = ::GetTickCount() - start;
  EXPECT_GE(spent, 150u);
  EXPECT_LT(spent, 3000u);
  PumpFor(300);
  EXPECT_EQ(expired, 1);
  EXPECT_EQ(terminates, 0);
  EXPECT_FALSE(holder.Running());
}

TEST(auThread, JobErrorGoesToExceptionHandlerAndCompletionStillRuns) {
  TauCustomThread holder;
  holder.FWaitThread = true;
  std::vector<std::string> events;
  holder.SetOnExecute([](TauEventThread&) { throw std::runtime_error("job failed"); });
  holder.SetOnException([&](TauEventThread&) { events.push_back("exception"); });
  holder.SetOnTerminate([&](TauEventThread&) {
    events.push_back("terminate");
    throw std::runtime_error("handler failed");  // dropped, reported like a job error
  });
  EXPECT_TRUE(holder.Execute());
  EXPECT_EQ(events, (std::vector<std::string>{"exception", "terminate", "exception"}));
}

TEST(auThread, HiddenWindowGoesWithLastThreadObjectAndComesBack) {
  WaitWindowGone();  // threads of earlier cases may still be ending
  ASSERT_EQ(ThreadWindowHandle(), nullptr);
  {
    TauCustomThread holder;
    const HWND window = ThreadWindowHandle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(::FindWindowW(kThreadWindowClass, nullptr), window);
    EXPECT_FALSE(::IsWindowVisible(window));
    TauCustomThread second;
    EXPECT_EQ(ThreadWindowHandle(), window);  // one window for all
  }
  WaitWindowGone();
  EXPECT_EQ(ThreadWindowHandle(), nullptr);
  EXPECT_EQ(::FindWindowW(kThreadWindowClass, nullptr), nullptr);
  {
    TauCustomThread again;
    EXPECT_NE(ThreadWindowHandle(), nullptr);
    EXPECT_NE(::FindWindowW(kThreadWindowClass, nullptr), nullptr);
  }
  WaitWindowGone();
  EXPECT_EQ(ThreadWindowHandle(), nullptr);
}

TEST(auThread, PriorityLevels) {
  TauCustomThread holder;
  for (auto p : {tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical}) {
    holder.SetPriority(p);
    EXPECT_EQ(holder.Priority(), p);
  }
  EXPECT_EQ(PriorityFromPlatform(7), tpNormal);
}

}  // namespace
