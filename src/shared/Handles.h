// One small owner per Win32 handle kind: movable, not copyable, closed exactly once.
#pragma once

#include <windows.h>

#include <utility>

template <class Handle, auto Close, Handle Invalid = Handle{}>
class TUniqueHandle {
 public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(Handle h) : FHandle(h) {}
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, Invalid)) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.FHandle, Invalid));
    return *this;
  }
  ~TUniqueHandle() { reset(); }

  Handle get() const { return FHandle; }
  explicit operator bool() const { return FHandle != Invalid; }
  Handle release() { return std::exchange(FHandle, Invalid); }
  void reset(Handle h = Invalid) {
    if (FHandle != Invalid) Close(FHandle);
    FHandle = h;
  }

 private:
  Handle FHandle = Invalid;
};

namespace handle_detail {
inline void CloseKernel(HANDLE h) { ::CloseHandle(h); }
inline void CloseKey(HKEY h) { ::RegCloseKey(h); }
inline void CloseGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void CloseMemoryDC(HDC h) { ::DeleteDC(h); }
}  // namespace handle_detail

// Mutexes, processes, threads, events: null when absent.
using TKernelHandle = TUniqueHandle<HANDLE, handle_detail::CloseKernel>;
// FindFirstFileW: INVALID_HANDLE_VALUE when absent. (A template argument cannot be a
// cast pointer constant, so the find handle keeps its own small owner.)
class TFindHandle {
 public:
  explicit TFindHandle(HANDLE h) : FHandle(h) {}
  TFindHandle(const TFindHandle&) = delete;
  TFindHandle& operator=(const TFindHandle&) = delete;
  ~TFindHandle() {
    if (FHandle != INVALID_HANDLE_VALUE) ::FindClose(FHandle);
  }
  HANDLE get() const { return FHandle; }
  explicit operator bool() const { return FHandle != INVALID_HANDLE_VALUE; }

 private:
  HANDLE FHandle;
};
using TRegKey = TUniqueHandle<HKEY, handle_detail::CloseKey>;
using TGdiObject = TUniqueHandle<HGDIOBJ, handle_detail::CloseGdiObject>;
using TMemoryDC = TUniqueHandle<HDC, handle_detail::CloseMemoryDC>;
