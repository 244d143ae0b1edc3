// libcurl's process-wide state, set up for as long as the object lives. Make
// one before the first HTTP client and keep it until every client is gone.
#pragma once

class ScopedCurlGlobalInit {
 public:
  ScopedCurlGlobalInit();
  ScopedCurlGlobalInit(const ScopedCurlGlobalInit&) = delete;
  ScopedCurlGlobalInit& operator=(const ScopedCurlGlobalInit&) = delete;
  ~ScopedCurlGlobalInit();

  bool Initialised() const { return initialised_; }

 private:
  bool initialised_;
};
