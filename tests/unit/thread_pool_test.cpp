#include "app/statistics/thread_pool_impl.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "app/statistics/easy_task0.h"
#include "base/handles.h"
#include "tests/unit/thread_waits.h"

namespace {


UniqueHandle NewEvent() { return UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr)); }

// Runs until it is cancelled (or released by the test), telling the test
// when it has started and, once cancelled, lingering a little so that a
// Stop that returned before its worker ended would see it unfinished.
class GateTask : public IThreadTask {
 public:
  explicit GateTask(bool honoursCancel = true) : honoursCancel_(honoursCancel) {}

  void Cancel() override {
    ++cancels_;
    if (honoursCancel_) SetEvent(open_.Get());
  }
  void Run() override {
    worker_ = GetCurrentThreadId();
    SetEvent(started_.Get());
    WaitForSingleObject(open_.Get(), kPatience);
    Sleep(100);
    stoppingSeen_ = Pool()->IsStopped();
    finished_ = true;
  }

  bool WaitStarted() const { return WaitForSingleObject(started_.Get(), kPatience) == WAIT_OBJECT_0; }
  void Release() { SetEvent(open_.Get()); }

  UniqueHandle started_ = NewEvent();
  UniqueHandle open_ = NewEvent();
  const bool honoursCancel_;
  std::atomic<int> cancels_{0};
  std::atomic<bool> finished_{false};
  std::atomic<bool> stoppingSeen_{false};
  std::atomic<DWORD> worker_{0};
};

struct Trail {
  std::mutex lock;
  std::vector<int> order;
  std::vector<DWORD> threads;

  std::shared_ptr<EasyTask0> Task(int number) {
    return std::make_shared<EasyTask0>([this, number] {
      std::lock_guard<std::mutex> hold(lock);
      order.push_back(number);
      threads.push_back(GetCurrentThreadId());
    });
  }
  size_t Count() {
    std::lock_guard<std::mutex> hold(lock);
    return order.size();
  }
};

TEST(ThreadPoolTest, RunsTasksInOrderOnOneWorkerThread) {
  ThreadPoolImpl pool;
  EXPECT_TRUE(pool.IsStopped());
  Trail trail;
  // Queued before the start: they wait for it.
  for (int i = 0; i < 3; ++i) pool.AddTask(trail.Task(i));
  pool.Start();
  EXPECT_FALSE(pool.IsStopped());
  for (int i = 3; i < 50; ++i) pool.AddTask(trail.Task(i));
  auto last = std::make_shared<GateTask>();
  pool.AddTask(last);
  ASSERT_TRUE(last->WaitStarted());
  last->Release();
  EXPECT_TRUE(pool.Stop());
  EXPECT_TRUE(pool.IsStopped());

  std::vector<int> expected;
  for (int i = 0; i < 50; ++i) expected.push_back(i);
  EXPECT_EQ(trail.order, expected);
  for (const DWORD thread : trail.threads) EXPECT_EQ(thread, trail.threads.front());
  EXPECT_NE(trail.threads.front(), GetCurrentThreadId());
  EXPECT_EQ(last->worker_, trail.threads.front());
  EXPECT_TRUE(ThreadHasEnded(last->worker_));
}

TEST(ThreadPoolTest, StopCancelsTheRunningTaskAndDropsThePendingOnes) {
  ThreadPoolImpl pool;
  pool.Start();
  auto running = std::make_shared<GateTask>();
  pool.AddTask(running);
  ASSERT_TRUE(running->WaitStarted());
  Trail trail;
  for (int i = 0; i < 3; ++i) pool.AddTask(trail.Task(i));

  EXPECT_TRUE(pool.Stop());
  EXPECT_EQ(running->cancels_, 1);
  EXPECT_TRUE(running->finished_);
  EXPECT_TRUE(running->stoppingSeen_);
  EXPECT_TRUE(ThreadHasEnded(running->worker_));
  EXPECT_EQ(trail.Count(), 0u);

  // A new start does not bring the dropped tasks back.
  pool.Start();
  auto next = std::make_shared<GateTask>();
  pool.AddTask(next);
  ASSERT_TRUE(next->WaitStarted());
  next->Release();
  EXPECT_TRUE(pool.Stop());
  EXPECT_EQ(trail.Count(), 0u);
}

TEST(ThreadPoolTest, TwoThreadsStoppingAtOnceBothWaitForTheWorker) {
  ThreadPoolImpl pool;
  pool.Start();
  auto running = std::make_shared<GateTask>();
  pool.AddTask(running);
  ASSERT_TRUE(running->WaitStarted());

  std::atomic<int> ready{0};
  std::atomic<int> returnedBeforeTheTaskEnded{0};
  std::atomic<int> reportedUnfinished{0};
  auto stopper = [&] {
    ++ready;
    while (ready < 2) std::this_thread::yield();
    if (!pool.Stop()) ++reportedUnfinished;
    if (!running->finished_) ++returnedBeforeTheTaskEnded;
  };
  std::thread first(stopper);
  std::thread second(stopper);
  first.join();
  second.join();

  EXPECT_EQ(reportedUnfinished, 0);
  EXPECT_EQ(returnedBeforeTheTaskEnded, 0);
  EXPECT_EQ(running->cancels_, 1);
  EXPECT_TRUE(pool.IsStopped());
  EXPECT_TRUE(ThreadHasEnded(running->worker_));
}

TEST(ThreadPoolTest, ABoundedStopLeavesAStuckTaskToFinishAlone) {
  ThreadPoolImpl pool;
  pool.Start();
  auto stuck = std::make_shared<GateTask>(false);
  pool.AddTask(stuck);
  ASSERT_TRUE(stuck->WaitStarted());
  Trail trail;
  pool.AddTask(trail.Task(1));

  EXPECT_FALSE(pool.Stop(200));
  EXPECT_TRUE(pool.IsStopped());
  EXPECT_EQ(stuck->cancels_, 1);
  EXPECT_FALSE(stuck->finished_);

  // Restarting gives a worker of its own; the stuck one is not revived.
  pool.Start();
  auto next = std::make_shared<GateTask>();
  pool.AddTask(next);
  ASSERT_TRUE(next->WaitStarted());
  EXPECT_NE(next->worker_, stuck->worker_);
  next->Release();
  EXPECT_TRUE(pool.Stop());

  stuck->Release();
  EXPECT_TRUE(ThreadHasEnded(stuck->worker_));
  EXPECT_TRUE(stuck->finished_);
  EXPECT_EQ(trail.Count(), 0u);
}

}  // namespace
