// Times one DrawWindow of the bar (compose, then push) under the real window system.
// Usage: SidebarDrawBench [rounds]   (skins from the directory beside the executable)
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "Application.h"
#include "Sidebar.h"
#include "SkinImage.h"
#include "WidgetOptions.h"

namespace {
double Now() {
  LARGE_INTEGER counter, frequency;
  ::QueryPerformanceCounter(&counter);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? _wtoi(argv[1]) : 200;
  const TGdiPlusSession gdiplus;
  Application.Initialize();
  TWidgetOptions options;
  options.Load();
  WidgetOptions = &options;
  {
    TFmOrvoSidebar bar;
    bar.Show();
    bar.DrawWindow();  // warm: first decode of each file

    double compose = 0, push = 0;
    for (int i = 0; i < rounds; ++i) {
      const double start = Now();
      auto surface = bar.ComposeWindow();
      const double composed = Now();
      surface->Push(bar.Handle(), 255);
      const double pushed = Now();
      compose += composed - start;
      push += pushed - composed;
    }
    std::printf("bar %dx%d, %d rounds: compose %.3f ms, push %.3f ms, DrawWindow %.3f ms\n", bar.GetWidth(),
                bar.GetHeight(), rounds, compose / rounds, push / rounds, (compose + push) / rounds);
  }
  WidgetOptions = nullptr;
  Application.Finalize();
  return 0;
}
