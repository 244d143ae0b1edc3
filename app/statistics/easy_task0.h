// A task that runs one stored callable taking no arguments.
#pragma once

#include <functional>
#include <utility>

#include "app/statistics/i_thread_task.h"

class EasyTask0 : public IThreadTask {
 public:
  explicit EasyTask0(std::function<void()> callable) : callable_(std::move(callable)) {}

  // The callable runs to its end: there is nothing to ask it.
  void Cancel() override {}
  void Run() override;

 private:
  std::function<void()> callable_;
};
