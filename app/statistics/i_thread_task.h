// A unit of work for a thread pool, run once on one of its workers.
#pragma once

#include <atomic>

#include "app/statistics/i_thread_pool.h"

class IThreadTask {
 public:
  // Called by the pool when the task is queued. A long task may ask the
  // pool whether it is stopping.
  virtual void SetPool(IThreadPool* pool) { pool_ = pool; }
  // Asks a running task to end soon. May come from another thread, before
  // or while Run runs.
  virtual void Cancel() = 0;
  virtual void Run() = 0;
  virtual ~IThreadTask() = default;

 protected:
  IThreadPool* Pool() const { return pool_; }

 private:
  std::atomic<IThreadPool*> pool_{nullptr};
};
