// Times DrawWindow of the bar (compose, then push) under the real window system, at two
// heights, and of the widget gallery with its first tile hovered, with medians; and the
// first compose after a background file changed.
// Usage: SidebarDrawBench [rounds]   (skins from the directory beside the executable)
#include <windows.h>

#include <cwchar>
#include <string>

#include "Application.h"
#include "DrawTiming.h"
#include "Sidebar.h"
#include "SkinImage.h"
#include "WidgetAdd.h"
#include "WidgetOptions.h"

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? _wtoi(argv[1]) : 100;
  const TGdiPlusSession gdiplus;
  Application.Initialize();
  TWidgetOptions options;
  options.Load();
  WidgetOptions = &options;
  {
    TFmOrvoSidebar bar;
    bar.Show();
    for (const int height : {1080, 2160}) {
      ::SetWindowPos(bar.Handle(), nullptr, 0, 0, bar.Width(), height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      ReportDraw(bar, "bar", rounds, 255, [&] { TouchFile(bar.BaseSkin()); });
    }
    // The gallery lists the widgets installed beside the benchmark.
    FmOrvoSidebar = &bar;
    TFmWidgetAdd::ShowForm(bar.Handle());
    if (TFmWidgetAdd* gallery = TFmWidgetAdd::Instance()) {
      const TPNGButton& tile = gallery->Tile(0);
      ::SendMessageW(gallery->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(tile.Left() + 10, tile.Top() + 10));
      ReportDraw(*gallery, "gallery", rounds, 255, [&] { TouchFile(bar.ProgramDir() + L"SKIN\\WidgetLib\\bg.png"); });
    }
    TFmWidgetAdd::FreeInstance();
    FmOrvoSidebar = nullptr;
  }
  WidgetOptions = nullptr;
  Application.Finalize();
  return 0;
}
