// Timing a skinned window's DrawWindow under the real window system: compose (all buttons
// into a fresh surface) and push (UpdateLayeredWindow) measured apart, medians of rounds.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "WidgetBase.h"

inline double NowMs() {
  LARGE_INTEGER counter, frequency;
  ::QueryPerformanceCounter(&counter);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Gives a file a new modification time, its bytes unchanged: to the skin cache, a new file.
inline void TouchFile(const std::wstring& Path) {
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  HANDLE file = ::CreateFileW(Path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  ::SetFileTime(file, nullptr, nullptr, &now);
  ::CloseHandle(file);
}

inline double Median(std::vector<double> Values) {
  if (Values.empty()) return 0;
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

// One line: compose and push medians of Rounds, their ratio, and the first compose after
// Touch (which rewrites a skin file on disk) when it is given.
template <class Touch>
void ReportDraw(TFmWidgetBase& Window, const char* Name, int Rounds, BYTE Alpha, Touch&& TouchSkin) {
  Window.DrawWindow();  // the first decode of each file is not what is measured
  std::vector<double> compose, push;
  for (int i = 0; i < Rounds; ++i) {
    const double start = NowMs();
    auto surface = Window.ComposeWindow();
    const double composed = NowMs();
    surface->Push(Window.Handle(), Alpha);
    compose.push_back(composed - start);
    push.push_back(NowMs() - composed);
  }
  TouchSkin();
  const double start = NowMs();
  Window.ComposeWindow();
  const double changed = NowMs() - start;
  const double c = Median(compose), p = Median(push);
  std::printf("%-10s %4dx%-4d %d rounds: compose %7.3f ms  push %7.3f ms  compose/push %5.2f  "
              "first compose after a skin file changed %7.3f ms\n",
              Name, Window.Width(), Window.Height(), Rounds, c, p, p > 0 ? c / p : 0.0, changed);
}
