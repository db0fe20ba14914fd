// Windows test helpers: pump this thread's messages for a while or until something holds.
#pragma once

#include <windows.h>

inline void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

inline void PumpFor(DWORD Milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + Milliseconds;
  while (::GetTickCount64() < end) {
    PumpMessages();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// True once Condition holds; false when it still does not after Milliseconds.
template <class Condition>
bool PumpUntil(Condition&& Holds, DWORD Milliseconds = 5000) {
  const ULONGLONG end = ::GetTickCount64() + Milliseconds;
  for (;;) {
    PumpMessages();
    if (Holds()) return true;
    if (::GetTickCount64() >= end) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}
