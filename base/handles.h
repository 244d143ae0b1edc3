// Owning wrappers for system handles: each releases its handle exactly once,
// on every path out of the scope that holds it.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <ole2.h>

#include <utility>

template <typename Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~ScopedHandle() { Reset(); }

  Handle Get() const { return handle_; }
  bool Valid() const { return Traits::IsValid(handle_); }
  explicit operator bool() const { return Valid(); }

  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
  void Reset(Handle handle = Traits::Invalid()) {
    if (Traits::IsValid(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

// Handles that are null when absent (processes, threads, mutexes, events).
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};
using UniqueHandle = ScopedHandle<KernelHandleTraits>;

// An opened registry key. Predefined roots are never held here: a handle of
// a root is opened from it like any other key.
struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { RegCloseKey(h); }
};
using UniqueRegKey = ScopedHandle<RegistryKeyTraits>;

// Directory searches (FindFirstFileW), invalid as INVALID_HANDLE_VALUE.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(Handle h) { FindClose(h); }
};
using UniqueFindHandle = ScopedHandle<FindHandleTraits>;

// COM for the calling thread, uninitialised when the scope ends if it was
// initialised here.
class ScopedComInit {
 public:
  explicit ScopedComInit(DWORD model = COINIT_APARTMENTTHREADED)
      : initialised_(SUCCEEDED(CoInitializeEx(nullptr, model))) {}
  ScopedComInit(const ScopedComInit&) = delete;
  ScopedComInit& operator=(const ScopedComInit&) = delete;
  ~ScopedComInit() { if (initialised_) CoUninitialize(); }
  bool Initialised() const { return initialised_; }

 private:
  bool initialised_;
};

// Service manager and service handles (OpenSCManagerW, OpenServiceW).
struct ServiceHandleTraits {
  using Handle = SC_HANDLE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { CloseServiceHandle(h); }
};
using UniqueServiceHandle = ScopedHandle<ServiceHandleTraits>;

// A library loaded with LoadLibraryW, freed with FreeLibrary.
struct ModuleHandleTraits {
  using Handle = HMODULE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { FreeLibrary(h); }
};
using UniqueModule = ScopedHandle<ModuleHandleTraits>;

// OLE for the calling thread, uninitialised when the scope ends if it was
// initialised here.
class ScopedOleInit {
 public:
  ScopedOleInit() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
  ScopedOleInit(const ScopedOleInit&) = delete;
  ScopedOleInit& operator=(const ScopedOleInit&) = delete;
  ~ScopedOleInit() { if (initialised_) OleUninitialize(); }

 private:
  bool initialised_;
};
