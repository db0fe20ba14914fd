#include "Sidebar.h"

#include "Application.h"
#include "WidgetOptions.h"
#include "ZekTools.h"

TFmOrvoSidebar* FmOrvoSidebar = nullptr;

namespace {
constexpr wchar_t kSidebarClass[] = L"TFmOrvoSidebar";
constexpr wchar_t kBackgroundDir[] = L"Skin\\sidebar\\background\\";
constexpr int kSidebarWidth = 150;
constexpr COLORREF kBarColour = RGB(38, 44, 56);
}  // namespace

TFmOrvoSidebar::TFmOrvoSidebar() {
  // A tool window owned by the hidden application window: no taskbar button, no Alt+Tab.
  if (!CreateHandle(kSidebarClass, L"", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, 0, 0, kSidebarWidth, 423,
                    Application.Handle()))
    return;
  FormCreate();
  ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

void TFmOrvoSidebar::FormCreate() {
  LoadSidebarSet();
  // Primary monitor's work area at the chosen edge; monitor choice and the skinned
  // body come with the full bar.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int left = FSidebarAlign == saLeft ? work.left : work.right - kSidebarWidth;
  ::SetWindowPos(Handle(), nullptr, left, 0, kSidebarWidth, work.bottom - work.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFmOrvoSidebar::LoadSidebarSet() {
  const TWidgetOptions& options = *WidgetOptions;
  FBaseSkin = GetModuleDir() + kBackgroundDir + options.FSidebarSkin;
  FMonitor = options.FSidebarMonitor;
  FSidebarAlign = options.FSidebarAlign;
  FWinDesk = options.FSidebarWinDesk;
  FWidgetInv = options.FWidgetInterval;
  FAutoHide = options.FSidebarAutoHide;
}

void TFmOrvoSidebar::SaveSidebarSet() {
  TWidgetOptions& options = *WidgetOptions;
  options.FSidebarAutoHide = FAutoHide;
  options.FSidebarWinDesk = FWinDesk;
  options.FSidebarMonitor = FMonitor;
  options.FSidebarAlign = FSidebarAlign;
  options.FSidebarSkin = FBaseSkin.substr(FBaseSkin.find_last_of(L'\\') + 1);
  options.FWidgetInterval = FWidgetInv;
  options.Save();
}

void TFmOrvoSidebar::FormPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(Handle(), &ps);
  HBRUSH brush = ::CreateSolidBrush(kBarColour);
  ::FillRect(dc, &ps.rcPaint, brush);
  ::DeleteObject(brush);
  ::EndPaint(Handle(), &ps);
}

LRESULT TFmOrvoSidebar::HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_SIDEBAR_SAVEANDCLOSE:
      // A failed save raises past the close: the bar stays open.
      SaveSidebarSet();
      ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
      return 0;
    case WM_PAINT:
      FormPaint();
      return 0;
    case WM_DESTROY:
      Application.Terminate();
      return 0;
    default:
      return TWindow::HandleMessage(Msg, wParam, lParam);
  }
}
