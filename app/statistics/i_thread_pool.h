// What a task may ask of the pool that runs it.
#pragma once

class IThreadPool {
 public:
  // True when the pool is not running: never started, or stopped.
  virtual bool IsStopped() const = 0;
  virtual ~IThreadPool() = default;
};
