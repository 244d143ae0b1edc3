#include "app/statistics/thread_pool_impl.h"

#include <process.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <list>

#include "base/debug_line.h"

struct ThreadPoolImpl::WorkQueue {
  std::atomic<bool> running{false};

  // The running flag changes under this lock too, so a worker that has just
  // found the queue empty cannot miss the wake-up of a Stop.
  std::mutex pendingLock;
  std::condition_variable wake;
  std::list<std::shared_ptr<IThreadTask>> pending;

  std::mutex runningLock;
  std::list<std::shared_ptr<IThreadTask>> runningTasks;
};

ThreadPoolImpl::ThreadPoolImpl() : queue_(std::make_shared<WorkQueue>()) {}

ThreadPoolImpl::~ThreadPoolImpl() { Stop(); }

bool ThreadPoolImpl::IsStopped() const { return !std::atomic_load(&queue_)->running; }

void ThreadPoolImpl::Start() {
  std::lock_guard<std::mutex> hold(control_);
  const std::shared_ptr<WorkQueue> queue = std::atomic_load(&queue_);
  if (queue->running) return;
  queue->running = true;
  for (int i = 0; i < kWorkerCount; ++i) {
    auto* shared = new std::shared_ptr<WorkQueue>(queue);
    const uintptr_t thread = _beginthreadex(nullptr, 0, WorkerMain, shared, 0, nullptr);
    if (!thread) {
      delete shared;
      TraceLastError(L"starting a pool worker failed!");
      continue;
    }
    workers_.emplace_back(reinterpret_cast<HANDLE>(thread));
  }
}

void ThreadPoolImpl::AddTask(std::shared_ptr<IThreadTask> task) {
  task->SetPool(this);
  const std::shared_ptr<WorkQueue> queue = std::atomic_load(&queue_);
  {
    std::lock_guard<std::mutex> hold(queue->pendingLock);
    queue->pending.push_back(std::move(task));
  }
  queue->wake.notify_one();
}

bool ThreadPoolImpl::Stop(DWORD waitMilliseconds) {
  std::lock_guard<std::mutex> hold(control_);
  const std::shared_ptr<WorkQueue> queue = std::atomic_load(&queue_);
  if (!queue->running) return true;
  {
    std::lock_guard<std::mutex> pendingHold(queue->pendingLock);
    queue->running = false;
  }
  queue->wake.notify_all();
  {
    std::lock_guard<std::mutex> runningHold(queue->runningLock);
    for (const auto& task : queue->runningTasks) task->Cancel();
  }
  const bool allEnded = WaitForWorkers(waitMilliseconds);
  {
    std::lock_guard<std::mutex> pendingHold(queue->pendingLock);
    queue->pending.clear();
  }
  workers_.clear();
  std::atomic_store(&queue_, std::make_shared<WorkQueue>());
  return allEnded;
}

bool ThreadPoolImpl::WaitForWorkers(DWORD waitMilliseconds) const {
  const ULONGLONG start = GetTickCount64();
  bool allEnded = true;
  for (const UniqueHandle& worker : workers_) {
    // A task that stops its own pool cannot wait for itself; its worker
    // ends once the task returns.
    if (GetThreadId(worker.Get()) == GetCurrentThreadId()) continue;
    DWORD left = INFINITE;
    if (waitMilliseconds != INFINITE) {
      const ULONGLONG spent = GetTickCount64() - start;
      left = spent >= waitMilliseconds ? 0 : static_cast<DWORD>(waitMilliseconds - spent);
    }
    if (WaitForSingleObject(worker.Get(), left) != WAIT_OBJECT_0) allEnded = false;
  }
  return allEnded;
}

unsigned __stdcall ThreadPoolImpl::WorkerMain(void* queue) {
  const std::unique_ptr<std::shared_ptr<WorkQueue>> shared(static_cast<std::shared_ptr<WorkQueue>*>(queue));
  RunWorker(**shared);
  return 0;
}

void ThreadPoolImpl::RunWorker(WorkQueue& queue) {
  const ScopedComInit com;
  const ScopedOleInit ole;
  while (queue.running) {
    std::shared_ptr<IThreadTask> task;
    {
      std::unique_lock<std::mutex> pendingHold(queue.pendingLock);
      queue.wake.wait(pendingHold, [&queue] { return !queue.pending.empty() || !queue.running; });
      if (!queue.running) break;
      task = std::move(queue.pending.front());
      queue.pending.pop_front();
      // Listed as running before the pending lock is let go: a Stop that
      // finds the queue stopped after this point finds the task to cancel.
      std::lock_guard<std::mutex> runningHold(queue.runningLock);
      queue.runningTasks.push_back(task);
    }
    task->Run();
    std::lock_guard<std::mutex> runningHold(queue.runningLock);
    queue.runningTasks.remove(task);
  }
}
