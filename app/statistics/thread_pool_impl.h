// A small pool of worker threads that run queued tasks in the order they
// were added. Each worker initialises COM and OLE for itself.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <vector>

#include "app/statistics/i_thread_pool.h"
#include "app/statistics/i_thread_task.h"
#include "base/handles.h"

class ThreadPoolImpl : public IThreadPool {
 public:
  ThreadPoolImpl();
  bool IsStopped() const override;
  // Stops the pool, waiting for its workers without a bound.
  ~ThreadPoolImpl() override;

  // Starts the workers unless the pool is running already.
  void Start();
  // Queues the task and wakes a worker; returns at once. A task added while
  // the pool is stopped waits for the next Start.
  void AddTask(std::shared_ptr<IThreadTask> task);
  // Marks the pool stopped, asks the running tasks to Cancel, waits for the
  // workers for at most `waitMilliseconds` and drops the tasks not yet
  // taken. True when every worker has ended (or the pool was not running);
  // false when a worker is still inside a task after the wait: it is left
  // to finish on its own and ends without taking another task.
  bool Stop(DWORD waitMilliseconds = INFINITE);

  ThreadPoolImpl(const ThreadPoolImpl&) = delete;
  ThreadPoolImpl& operator=(const ThreadPoolImpl&) = delete;

 private:
  // What the workers share with the pool. A worker holds it too, so one
  // that is left inside a task never reaches into a pool that is gone.
  struct WorkQueue;

  static unsigned __stdcall WorkerMain(void* queue);
  static void RunWorker(WorkQueue& queue);
  bool WaitForWorkers(DWORD waitMilliseconds) const;

  static constexpr int kWorkerCount = 1;

  // Start and Stop one at a time, so that two threads stopping at once both
  // return only after the workers are dealt with.
  std::mutex control_;
  // Replaced by a fresh one at every Stop, so a worker left behind by a
  // bounded Stop can never be revived by a later Start. Read and replaced
  // atomically: AddTask must not wait for a Stop in progress.
  std::shared_ptr<WorkQueue> queue_;
  std::vector<UniqueHandle> workers_;
};
