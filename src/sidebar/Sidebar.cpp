#include "Sidebar.h"

#include <windowsx.h>

#include "Application.h"
#include "Hourglass.h"
#include "Monitors.h"
#include "ProxyChoice.h"
#include "SidebarPlacement.h"
#include "WidgetListFile.h"
#include "WidgetOptions.h"

TFmOrvoSidebar* FmOrvoSidebar = nullptr;

namespace {
constexpr wchar_t kSidebarClass[] = L"TFmOrvoSidebar";
constexpr wchar_t kSkinDir[] = L"Skin\\sidebar\\";
constexpr wchar_t kBackgroundDir[] = L"Skin\\sidebar\\background\\";
constexpr wchar_t kDefaultSkin[] = L"White.png";
constexpr int kDesignHeight = 423;

}  // namespace

TFmOrvoSidebar::TFmOrvoSidebar(const std::wstring& ProgramDir) : FProgramDir(ProgramDir) {
  if (!CreateForm(kSidebarClass, L"", 874, 0, kSidebarWidth, kDesignHeight, Application.Handle())) return;
  FormCreate();
}

TFmOrvoSidebar::~TFmOrvoSidebar() {
  KillTimers();
  if (pmMain) ::DestroyMenu(pmMain);
}

void TFmOrvoSidebar::Show() { ::ShowWindow(Handle(), SW_SHOWNOACTIVATE); }

void TFmOrvoSidebar::FormCreate() {
  TFmWidgetBase::FormCreate();
  // No taskbar button and no Alt+Tab entry.
  const LONG_PTR exStyle = ::GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  ::SetWindowLongPtrW(Handle(), GWL_EXSTYLE, (exStyle & ~LONG_PTR{WS_EX_APPWINDOW}) | WS_EX_TOOLWINDOW);

  for (TPNGButton* button : {&ImgBg, &ImgTool, &ImgAdd, &ImgUp, &ImgDown}) AddButton(*button);
  ImgBg.SetBounds(0, 0, kSidebarWidth, kDesignHeight);
  ImgTool.SetBounds(32, 8, 79, 22);
  ImgAdd.SetBounds(40, 11, 16, 16);
  ImgUp.SetBounds(62, 11, 16, 16);
  ImgDown.SetBounds(84, 11, 16, 16);
  for (TPNGButton* button : {&ImgTool, &ImgAdd, &ImgUp, &ImgDown}) button->AutoSize = true;
  ImgAdd.OnClick = [this](TPNGButton&) { actAddToolExecute(); };
  ImgUp.OnClick = [this](TPNGButton&) {
    THourglass wait;
    ChangePage(-1);
  };
  ImgDown.OnClick = [this](TPNGButton&) {
    THourglass wait;
    ChangePage(+1);
  };

  pmMain = ::CreatePopupMenu();
  ::AppendMenuW(pmMain, MF_STRING, mniAddWidget, L"添加小工具");
  ::AppendMenuW(pmMain, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(pmMain, MF_STRING, mniWidgetSet, L"系统设置");

  FWidgets.clear();
  FMonitor = -1;
  LoadSidebarSet();
  FPageIndex = 0;
  ::PostMessageW(Handle(), WM_SIDEBAR_LOADWIDGETS, 0, 0);
  ::PostMessageW(Handle(), WM_SIDEBAR_LOADWIDGETS, 1, 0);

  ::SetTimer(Handle(), tmrHeightChange, 200, nullptr);
  ::SetTimer(Handle(), tmrFlushMemory, 60000, nullptr);
  ::SetTimer(Handle(), tmrAutoHide, 50, nullptr);
}

void TFmOrvoSidebar::LoadSidebarSet() {
  const TWidgetOptions& options = *WidgetOptions;
  BeginUpdate();
  const std::wstring skin = FProgramDir + kSkinDir;
  ImgTool.SetImageNormal(skin + L"Tool.png");
  ImgAdd.SetImageNormal(skin + L"Add.png");
  ImgAdd.SetImageOver(skin + L"Add_Focus.png");
  ImgUp.SetImageNormal(skin + L"Up.png");
  ImgUp.SetImageOver(skin + L"Up_Focus.png");
  ImgDown.SetImageNormal(skin + L"Down.png");
  ImgDown.SetImageOver(skin + L"Down_Focus.png");

  const std::wstring fallback = FProgramDir + kBackgroundDir + kDefaultSkin;
  FBaseSkin = fallback;
  const std::wstring chosen = FProgramDir + kBackgroundDir + options.FSidebarSkin;
  SetBaseSkin(IsFile(chosen) ? chosen : fallback);
  ImgBg.SetImageNormal(FBaseSkin);

  SetPosition(options.FSidebarMonitor, options.FSidebarAlign);
  SetWinDesk(options.FSidebarWinDesk);
  FWidgetInv = options.FWidgetInterval;
  FAutoHide = options.FSidebarAutoHide;
  EndUpdate();
}

TBarMetrics TFmOrvoSidebar::BarMetrics() const {
  return {Left(), Height(), ImgTool.Top() + ImgTool.Height() + FWidgetInv, FWidgetInv};
}

void TFmOrvoSidebar::SetPosition(std::int32_t AMonitor, TSidebarAlign ASidebarAlign) {
  if (AMonitor == FMonitor && ASidebarAlign == FSidebarAlign) return;
  const std::vector<TMonitorRects> monitors = EnumerateMonitors();
  if (monitors.empty()) return;
  const std::int32_t index = ClampMonitorIndex(AMonitor, static_cast<std::int32_t>(monitors.size()));
  const TMonitorRects& monitor = monitors[static_cast<std::size_t>(index)];
  // The top edge stays at screen y 0; the height follow later takes the full monitor.
  ::SetWindowPos(Handle(), nullptr, DockedLeft(monitor, ASidebarAlign, kSidebarWidth), Top(), kSidebarWidth,
                 monitor.WorkArea.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  FMonitor = index;
  FSidebarAlign = ASidebarAlign;
  AlignWidget(kNoWidget);
  if (!Updating() && Visible()) DrawWindow();
}

void TFmOrvoSidebar::SetAutoHide(bool AValue) {
  if (AValue == FAutoHide) return;
  FAutoHide = AValue;
  DoAutoHide(false);
}

void TFmOrvoSidebar::SetWinDesk(TWinDesk AValue) {
  if (AValue == FWinDesk) return;
  TFmWidgetBase::SetWinDesk(AValue);
  // The docked widgets reopen as windows of the bar in its new mode; floating ones stay.
  std::vector<std::wstring> docked;
  std::vector<IWidget*> closing;
  for (const TWidgetRec& rec : FWidgets) {
    auto* widget = reinterpret_cast<IWidget*>(rec.Widget);
    if (widget->GetLockSidebar()) {
      docked.push_back(WidgetListLine(rec.FileName));
      closing.push_back(widget);
    }
  }
  for (auto it = closing.rbegin(); it != closing.rend(); ++it) (*it)->Close();
  if (Visible()) {
    WriteWidgetList(ListFile(true), docked);
    ::PostMessageW(Handle(), WM_SIDEBAR_LOADWIDGETS, 1, 0);
  }
}

void TFmOrvoSidebar::SetBaseSkin(const std::wstring& AValue) {
  if (AValue == FBaseSkin) return;
  FBaseSkin = AValue;
  ImgBg.SetImageNormal(AValue);
}

void TFmOrvoSidebar::SetWidgetInv(std::int32_t AValue) {
  if (AValue == FWidgetInv) return;
  FWidgetInv = AValue;
  AlignWidget(kNoWidget);
}

void TFmOrvoSidebar::MoveLeft(std::int32_t ALeft) {
  ::SetWindowPos(Handle(), nullptr, ALeft, Top(), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFmOrvoSidebar::DoAutoHide(bool AMouseIn) {
  if (FMonitor < 0) return;
  const std::vector<TMonitorRects> monitors = EnumerateMonitors();
  if (monitors.empty()) return;
  const auto count = static_cast<std::int32_t>(monitors.size());
  TAutoHideInput in;
  in.MouseIn = AMouseIn;
  in.AutoHide = FAutoHide;
  in.Hidden = FAutoHideFlag;
  in.CurrentLeft = Left();
  in.MonitorIndex = FMonitor;
  in.MonitorCount = count;
  in.Align = FSidebarAlign;
  in.Monitor = monitors[static_cast<std::size_t>(ClampMonitorIndex(FMonitor, count))];
  const TAutoHideStep step = DoAutoHideStep(in);
  if (step.Move) {
    MoveLeft(step.NewLeft);
    AlignWidget(kNoWidget);
  }
  FAutoHideFlag = step.HiddenAfter;
}

void TFmOrvoSidebar::tmrAutoHideTimer() {
  POINT cursor{};
  if (!::GetCursorPos(&cursor)) return;
  DoAutoHide(MouseOverBar(cursor.x - Left(), cursor.y - Top(), Width(), Height()));
}

void TFmOrvoSidebar::tmrHeightChangeTimer() {
  if (FMonitor < 0 || !Visible()) return;
  const std::vector<TMonitorRects> monitors = EnumerateMonitors();
  if (monitors.empty()) return;
  const TMonitorRects& monitor =
      monitors[static_cast<std::size_t>(ClampMonitorIndex(FMonitor, static_cast<std::int32_t>(monitors.size())))];
  if (monitor.Monitor.Height() == Height()) return;
  ::SetWindowPos(Handle(), nullptr, 0, 0, Width(), monitor.Monitor.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  DrawWindow();
}

void TFmOrvoSidebar::tmrFlushMemoryTimer() {
  TrimWorkingSet();
  Application.ProcessMessages();
}

void TFmOrvoSidebar::PaintButtons(Gdiplus::Graphics& Graphics) {
  ImgBg.SetBounds(0, 0, Width(), Height());
  for (const TPNGButton* button : {&ImgBg, &ImgTool, &ImgAdd, &ImgUp, &ImgDown}) DrawPNGButton(Graphics, *button);
}

void TFmOrvoSidebar::actAddToolExecute() {
  THourglass wait;
  if (OnAddWidget) OnAddWidget(Handle());
}

void TFmOrvoSidebar::actWidgetSetExecute() {
  if (OnWidgetSet) OnWidgetSet(Handle());
}

void TFmOrvoSidebar::ShowMainMenu(int X, int Y) {
  if (X == -1 && Y == -1) {  // from the keyboard
    X = Left() + Width() / 2;
    Y = Top() + 40;
  }
  const UINT chosen = static_cast<UINT>(::TrackPopupMenu(pmMain, TPM_RETURNCMD | TPM_RIGHTBUTTON, X, Y, 0, Handle(), nullptr));
  if (chosen == mniAddWidget) actAddToolExecute();
  if (chosen == mniWidgetSet) actWidgetSetExecute();
}

void TFmOrvoSidebar::KillTimers() {
  if (!Handle()) return;
  for (UINT_PTR timer : {tmrHeightChange, tmrFlushMemory, tmrAutoHide}) ::KillTimer(Handle(), timer);
}

HRESULT STDMETHODCALLTYPE TFmOrvoSidebar::QueryInterface(REFIID, void** Object) {
  if (Object) *Object = nullptr;
  return E_NOINTERFACE;
}

void* STDMETHODCALLTYPE TFmOrvoSidebar::GetApplication() { return Application.Handle(); }

BOOLEAN STDMETHODCALLTYPE TFmOrvoSidebar::GetProxy(BSTR* Host, BSTR* Port) {
  // May run on a widget's worker thread: reads the options, changes nothing.
  try {
    const TWidgetOptions& options = *WidgetOptions;
    std::wstring host = (Host && *Host) ? std::wstring(*Host, ::SysStringLen(*Host)) : std::wstring();
    std::wstring port = (Port && *Port) ? std::wstring(*Port, ::SysStringLen(*Port)) : std::wstring();
    const bool useProxy = ChooseProxy(
        options.FProxyType, options.FProxySvr, options.FProxyPort,
        [](std::wstring& systemHost, std::int32_t& systemPort) {
          try {
            return GetSystemProxy(systemHost, systemPort);
          } catch (const ERegistryError&) {
            return false;  // unreadable settings: go direct
          }
        },
        host, port);
    WidgetAssignText(Host, host.c_str());
    WidgetAssignText(Port, port.c_str());
    return useProxy ? 1 : 0;
  } catch (...) {
    return 0;  // nothing crosses the library boundary
  }
}

LRESULT TFmOrvoSidebar::HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_TIMER:
      if (wParam == tmrHeightChange) tmrHeightChangeTimer();
      if (wParam == tmrFlushMemory) tmrFlushMemoryTimer();
      if (wParam == tmrAutoHide) tmrAutoHideTimer();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      ::BeginPaint(Handle(), &ps);
      ::EndPaint(Handle(), &ps);
      if (!Updating()) DrawWindow();
      return 0;
    }
    case WM_SHOWWINDOW:
      if (wParam) DoAutoHide(false);
      break;
    case WM_CONTEXTMENU:
      ShowMainMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_SIDEBAR_LOADWIDGETS:
      LoadWidgets(wParam != 0);
      return 0;
    case WM_SIDEBAR_SAVEANDCLOSE:
      // A failed save raises past the close: the bar stays open.
      SaveSidebarSet();
      ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
      return 0;
    case WM_WIDGET_REGISTER:
    case WM_WIDGET_UNREGISTER:
    case WM_WIDGET_SHOWN:
    case WM_WIDGET_UNDOCKED:
    case WM_WIDGET_DOCKED:
    case WM_WIDGET_DRAGGING:
      WidgetMessage(Msg, static_cast<std::uintptr_t>(wParam));
      return 0;
    case WM_CLOSE:
      FormClose();
      ::DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      KillTimers();
      if (this == FmOrvoSidebar) Application.Terminate();
      return 0;
    default:
      break;
  }
  return TFmWidgetBase::HandleMessage(Msg, wParam, lParam);
}
