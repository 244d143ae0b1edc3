// Base of the process-wide objects that are owned through shared pointers:
// GetInstance creates the one instance on its first call (safe from any
// thread) and hands out shared ownership of it, so work queued elsewhere
// can keep the object alive for as long as it needs it.
//
// The instance is never destroyed by the runtime's exit handlers: such an
// object may own threads, and waiting for a thread from inside those
// handlers can hang for good (a worker that was still starting up when the
// process began to exit was seen never to end). The end of the process
// reclaims it.
#pragma once

#include <memory>

template <typename T>
class CSingleT : public std::enable_shared_from_this<T> {
 public:
  static std::shared_ptr<T> GetInstance() {
    static const std::shared_ptr<T>* const instance = new std::shared_ptr<T>(new T);
    return *instance;
  }

  CSingleT(const CSingleT&) = delete;
  CSingleT& operator=(const CSingleT&) = delete;

 protected:
  CSingleT() = default;
  ~CSingleT() = default;
};
