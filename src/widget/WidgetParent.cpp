#include "WidgetParent.h"

#include <commdlg.h>
#include <windowsx.h>

#include <vector>

#include "IniFile.h"
#include "Monitors.h"
#include "WidgetInfo.h"
#include "WidgetWindowRules.h"

namespace {

constexpr wchar_t kSettingsFile[] = L"Seting.ini";
constexpr wchar_t kSection[] = L"Widget";
// Posted to itself by a closing widget: destroyed once control is back in the message loop.
constexpr UINT WM_WIDGET_RELEASE = WM_APP + 0x100;
constexpr UINT_PTR kSmoothInterval = 100;

struct TAlphaItem {
  UINT Id;
  const wchar_t* Caption;
  std::uint8_t Value;
};
constexpr TAlphaItem kAlphaItems[] = {{4, L"10%", 10},  {5, L"20%", 20},  {6, L"40%", 40},
                                      {7, L"60%", 60},  {8, L"80%", 80},  {9, L"100%", 100}};

}  // namespace

TFmWidgetParent::TFmWidgetParent(ISidebar* ASidebar, const std::wstring& ALibraryFile)
    : FSidebar(ASidebar), FLibraryFile(ALibraryFile) {
  LeftButtonDown = [] { return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; };
}

bool TFmWidgetParent::CreateWidget(const wchar_t* AClassName, int ADesignWidth, int ADesignHeight) {
  // Owned by the sidebar window: stays above the bar and goes with it.
  const HWND owner = FSidebar ? FSidebar->GetHandle() : nullptr;
  if (!CreateForm(AClassName, L"", 0, 0, ADesignWidth, ADesignHeight, owner)) return false;
  FormCreate();
  FInitCom = false;
  return true;
}

TFmWidgetParent::~TFmWidgetParent() {
  if (Handle()) {
    ::KillTimer(Handle(), tmrSmooth);
  }
  if (pmWidget) ::DestroyMenu(pmWidget);
}

std::wstring TFmWidgetParent::LibraryDir() const { return ModuleDirFromPath(FLibraryFile); }

void TFmWidgetParent::FormCreate() {
  TFmWidgetBase::FormCreate();
  ImgFlatBg.SetBounds(122, 0, 21, 57);
  ImgFlatClose.SetBounds(128, 2, 11, 15);
  ImgFlatSet.SetBounds(127, 19, 11, 13);
  ImgFlatClose.OnClick = [this](TPNGButton&) { CloseWidget(); };
  ImgFlatSet.OnClick = [this](TPNGButton&) { MenuCommand(mniSet); };
  for (TPNGButton* button : {&ImgFlatBg, &ImgFlatClose, &ImgFlatSet}) button->Visible = false;
  BuildMenu();
  FShowFlat = false;
  LoadWidgetSet();
  SendToSidebar(WM_WIDGET_REGISTER);
}

void TFmWidgetParent::BuildMenu() {
  // The form's own caption of the desktop item is replaced by LoadWidgetSet.
  HMENU style = ::CreatePopupMenu();
  ::AppendMenuW(style, MF_STRING, mniNormal, L"普通");
  ::AppendMenuW(style, MF_STRING, mniInsertDesk, L"潜入桌面");
  ::AppendMenuW(style, MF_STRING, mniStayOnTop, L"总在最前");
  HMENU transparent = ::CreatePopupMenu();
  for (const TAlphaItem& item : kAlphaItems) ::AppendMenuW(transparent, MF_STRING, item.Id, item.Caption);
  pmWidget = ::CreatePopupMenu();
  ::AppendMenuW(pmWidget, MF_POPUP, reinterpret_cast<UINT_PTR>(style), L"窗口风格");
  ::AppendMenuW(pmWidget, MF_POPUP, reinterpret_cast<UINT_PTR>(transparent), L"透明");
  ::AppendMenuW(pmWidget, MF_STRING, mniFlashWindows, L"导出图片(截屏)");
  ::AppendMenuW(pmWidget, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(pmWidget, MF_STRING, mniSet, L"设置");
  ::AppendMenuW(pmWidget, MF_STRING, mniClose, L"关闭小工具");
}

namespace {

void SetItemCaption(HMENU Menu, UINT Item, bool ByPosition, const wchar_t* Caption) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<wchar_t*>(Caption);
  ::SetMenuItemInfoW(Menu, Item, ByPosition ? TRUE : FALSE, &info);
}

}  // namespace

void TFmWidgetParent::LoadWidgetSet() {
  SetItemCaption(pmWidget, 0, true, L"窗口风格");
  SetItemCaption(pmWidget, mniNormal, false, L"普通");
  SetItemCaption(pmWidget, mniInsertDesk, false, L"嵌入桌面");
  SetItemCaption(pmWidget, mniStayOnTop, false, L"总在最前");
  SetItemCaption(pmWidget, 1, true, L"透明");
  SetItemCaption(pmWidget, mniFlashWindows, false, L"导出图片(截屏)");
  SetItemCaption(pmWidget, mniSet, false, L"设置");
  SetItemCaption(pmWidget, mniClose, false, L"关闭小工具");

  // Stored only: InitWin applies the mode, and the dock state is loaded without messages.
  const std::int32_t type = ReadWidgetInteger(kSection, L"WindowType", kSettingsFile, 0);
  FWinDesk = static_cast<TWinDesk>(static_cast<std::uint8_t>(type & 0xFF));
  FLockSidebar = ReadWidgetBool(kSection, L"LockSidebar", kSettingsFile, true);
  FAlpha = static_cast<std::uint8_t>(ReadWidgetInteger(kSection, L"Alpha", kSettingsFile, 100) & 0xFF);
  FDefaultLeft = ReadWidgetInteger(kSection, L"DefaultLeft", kSettingsFile, -1);
  FDefaultTop = ReadWidgetInteger(kSection, L"DefaultTop", kSettingsFile, -1);

  if (FDefaultLeft == -1 && FDefaultTop == -1) {
    // Never saved: centred on the bar's monitor (the first one before the bar is placed).
    const std::vector<TMonitorRects> monitors = EnumerateMonitors();
    if (!monitors.empty()) {
      std::int32_t index = FSidebar ? FSidebar->GetMonitor() : 0;
      if (index < 0) index = 0;
      if (index >= static_cast<std::int32_t>(monitors.size())) index = static_cast<std::int32_t>(monitors.size()) - 1;
      const TRect32& monitor = monitors[static_cast<std::size_t>(index)].Monitor;
      const TDefaultPosition centre =
          CentredPosition(monitor.Left, monitor.Top, monitor.Width(), monitor.Height(), Width(), Height());
      FDefaultLeft = centre.Left;
      FDefaultTop = centre.Top;
    }
  }
}

void TFmWidgetParent::SaveWidgetSet() {
  WriteWidgetInteger(kSection, L"WindowType", kSettingsFile, FWinDesk);
  WriteWidgetBool(kSection, L"LockSidebar", kSettingsFile, FLockSidebar);
  WriteWidgetInteger(kSection, L"Alpha", kSettingsFile, FAlpha);
  WriteWidgetInteger(kSection, L"DefaultLeft", kSettingsFile, Left());
  WriteWidgetInteger(kSection, L"DefaultTop", kSettingsFile, Top());
}

void TFmWidgetParent::InitWin() {
  // The loaded mode is applied like a change from the mode a new window has.
  const TWinDesk wanted = FWinDesk;
  FWinDesk = wdNormal;
  SetWinDesk(wanted);

  // Added last, so the strip lies above every button of the descendant for the mouse too.
  for (TPNGButton* button : {&ImgFlatBg, &ImgFlatClose, &ImgFlatSet}) AddButton(*button);
  const std::wstring skin = FlatToolDir(FLibraryFile);
  ImgFlatBg.SetImageNormal(skin + L"bg1.png");
  ImgFlatClose.SetImageNormal(skin + L"btClose1.png");
  ImgFlatClose.SetImageOver(skin + L"btClose1_Over.png");
  ImgFlatSet.SetImageNormal(skin + L"btSet1.png");
  ImgFlatSet.SetImageOver(skin + L"btSet1_Over.png");
  FInitCom = true;
}

void TFmWidgetParent::ShowWidget() {
  ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

void TFmWidgetParent::FormShow() {
  SendToSidebar(WM_WIDGET_SHOWN);
  if (!FLockSidebar) MoveWindowTo(FDefaultLeft, FDefaultTop, Width(), Height());
}

void TFmWidgetParent::CloseWidget() {
  if (FClosing || !Handle()) return;
  FClosing = true;
  try {
    SaveWidgetSet();
  } catch (...) {
    // A settings file the system refuses to write does not keep the widget open.
  }
  ::PostMessageW(Handle(), WM_WIDGET_RELEASE, 0, 0);
}

void TFmWidgetParent::FormDestroy() {}

void TFmWidgetParent::SetLockSidebar(bool Value) {
  if (Value == FLockSidebar) return;
  FLockSidebar = Value;
  SendToSidebar(Value ? WM_WIDGET_DOCKED : WM_WIDGET_UNDOCKED);
}

void TFmWidgetParent::SetAlpha(std::uint8_t Value) {
  if (Value == FAlpha) return;
  FAlpha = Value;
  DrawWindow();
}

std::uint8_t TFmWidgetParent::GetBlendAlpha() const { return BlendAlpha(FAlpha); }

void TFmWidgetParent::MoveWindowTo(int ALeft, int ATop, int AWidth, int AHeight) {
  ::SetWindowPos(Handle(), nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFmWidgetParent::SendToSidebar(UINT Msg) {
  if (FSidebar) ::SendMessageW(FSidebar->GetHandle(), Msg, reinterpret_cast<WPARAM>(Widget()), 0);
}

// Dragging, docking, gliding.

bool TFmWidgetParent::DragsWindow(const TPNGButton& Button) const {
  return &Button != &ImgFlatBg && &Button != &ImgFlatClose && &Button != &ImgFlatSet;
}

void TFmWidgetParent::FormMouseMove() {
  // The system's move loop takes the window while the left button is held.
  ::ReleaseCapture();
  ::SendMessageW(Handle(), WM_SYSCOMMAND, 0xF012, 0);
}

void TFmWidgetParent::Moving(RECT& Proposed) {
  MoveWindowTo(Proposed.left, Proposed.top, Proposed.right - Proposed.left, Proposed.bottom - Proposed.top);
  const std::int32_t barLeft = FSidebar ? FSidebar->GetLeft() : 0;
  const std::int32_t barWidth = FSidebar ? FSidebar->GetWidth() : 0;
  // Only the horizontal extents count: anywhere over the bar's column docks.
  if (FSidebar && barLeft + barWidth > Proposed.left && barLeft < Proposed.right) {
    SetLockSidebar(true);
    SendToSidebar(WM_WIDGET_DRAGGING);
  } else {
    SetLockSidebar(false);
  }
  SwitchSmooth(true);
}

void TFmWidgetParent::SwitchSmooth(bool On) {
  if (On == FSmoothOn) return;  // switching on again keeps the running interval
  FSmoothOn = On;
  if (On)
    ::SetTimer(Handle(), tmrSmooth, kSmoothInterval, nullptr);
  else
    ::KillTimer(Handle(), tmrSmooth);
}

void TFmWidgetParent::tmrSmoothTimer() {
  // Runs until the button is up, so a drop after holding still still docks or floats.
  if (LeftButtonDown && LeftButtonDown()) return;
  SwitchSmooth(false);
  if (FLockSidebar) {
    Lock();
    RECT slot{};
    if (FSidebar && FSidebar->GetWidgetRect(Widget(), &slot)) SmoothMove(slot);
  } else {
    UnLock();
  }
}

void TFmWidgetParent::SmoothMove(const RECT& Target) {
  for (const TGlidePoint& point : GlideSteps(Left(), Top(), Target.left, Target.top)) {
    MoveWindowTo(point.X, point.Y, Width(), Height());
    ::Sleep(10);
  }
  MoveWindowTo(Target.left, Target.top, Width(), Height());
}

// The flat tool strip.

void TFmWidgetParent::Activated(WORD State) {
  if (!FInitCom) return;
  if (State == WA_INACTIVE && FShowFlat) {
    FShowFlat = false;
    DrawWindow();
  } else if (State == WA_ACTIVE && !FShowFlat) {
    FShowFlat = true;
    DrawWindow();
  }
}

void TFmWidgetParent::DrawFlatTool(Gdiplus::Graphics& Graphics) {
  for (TPNGButton* button : {&ImgFlatBg, &ImgFlatClose, &ImgFlatSet}) button->Visible = FShowFlat;
  if (!FShowFlat) return;
  for (const TPNGButton* button : {&ImgFlatBg, &ImgFlatClose, &ImgFlatSet}) DrawPNGButton(Graphics, *button);
}

// The menu.

void TFmWidgetParent::pmWidgetPopup() {
  const struct {
    UINT Id;
    TWinDesk Mode;
  } modes[] = {{mniNormal, wdNormal}, {mniStayOnTop, wdTop}, {mniInsertDesk, wdDesk}};
  for (const auto& mode : modes)
    ::CheckMenuItem(pmWidget, mode.Id, MF_BYCOMMAND | (FWinDesk == mode.Mode ? MF_CHECKED : MF_UNCHECKED));
  for (const TAlphaItem& item : kAlphaItems)
    ::CheckMenuItem(pmWidget, item.Id, MF_BYCOMMAND | (FAlpha == item.Value ? MF_CHECKED : MF_UNCHECKED));
}

void TFmWidgetParent::MenuCommand(UINT Id) {
  for (const TAlphaItem& item : kAlphaItems)
    if (Id == item.Id) return SetAlpha(item.Value);
  switch (Id) {
    case mniNormal: return SetWinDesk(wdNormal);
    case mniStayOnTop: return SetWinDesk(wdTop);
    case mniInsertDesk: return SetWinDesk(wdDesk);
    case mniFlashWindows: return mniFlashWindowsClick();
    case mniSet: return mniSetClick();
    case mniClose: return CloseWidget();
    default: UserMenuCommand(Id);
  }
}

void TFmWidgetParent::mniFlashWindowsClick() {
  wchar_t name[MAX_PATH * 2] = {};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = L"PNG\0*.png\0";
  dialog.lpstrFile = name;
  dialog.nMaxFile = MAX_PATH * 2;
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!::GetSaveFileNameW(&dialog)) return;
  FlashWindow(SnapshotFileName(name));
}

void TFmWidgetParent::FlashWindow(const std::wstring& AFileName) { ComposeWindow()->SavePng(AFileName); }

// Settings routines.

std::wstring TFmWidgetParent::SettingsFile(const std::wstring& FileName) const {
  return LibraryDir() + (FileName.empty() ? std::wstring(L"Config\\LastCondition.ini") : FileName);
}

std::wstring TFmWidgetParent::ReadWidgetString(const std::wstring& Section, const std::wstring& Key,
                                               const std::wstring& FileName) const {
  return TIniFile(SettingsFile(FileName)).ReadString(Section, Key, L"");
}

std::int32_t TFmWidgetParent::ReadWidgetInteger(const std::wstring& Section, const std::wstring& Key,
                                                const std::wstring& FileName, std::int32_t Default) const {
  return TIniFile(SettingsFile(FileName)).ReadInteger(Section, Key, Default);
}

bool TFmWidgetParent::ReadWidgetBool(const std::wstring& Section, const std::wstring& Key,
                                     const std::wstring& FileName, bool Default) const {
  return TIniFile(SettingsFile(FileName)).ReadBool(Section, Key, Default);
}

void TFmWidgetParent::WriteWidgetString(const std::wstring& Section, const std::wstring& Key,
                                        const std::wstring& FileName, const std::wstring& Value) const {
  TIniFile(SettingsFile(FileName)).WriteString(Section, Key, Value);
}

void TFmWidgetParent::WriteWidgetInteger(const std::wstring& Section, const std::wstring& Key,
                                         const std::wstring& FileName, std::int32_t Value) const {
  TIniFile(SettingsFile(FileName)).WriteInteger(Section, Key, Value);
}

void TFmWidgetParent::WriteWidgetBool(const std::wstring& Section, const std::wstring& Key,
                                      const std::wstring& FileName, bool Value) const {
  TIniFile(SettingsFile(FileName)).WriteBool(Section, Key, Value);
}

// IWidget.

HRESULT STDMETHODCALLTYPE TFmWidgetParent::QueryInterface(REFIID, void** Object) {
  if (Object) *Object = nullptr;
  return E_NOINTERFACE;
}

void STDMETHODCALLTYPE TFmWidgetParent::GetFileName(BSTR* Value) {
  try {
    WidgetAssignText(Value, FLibraryFile.c_str());
  } catch (...) {
  }
}

void STDMETHODCALLTYPE TFmWidgetParent::GetName(BSTR* Value) { ::GetName(Value); }
void STDMETHODCALLTYPE TFmWidgetParent::GetIcon(BSTR* Value) { ::GetIcon(Value); }
INT32 STDMETHODCALLTYPE TFmWidgetParent::GetWidgetType() { return ::GetWidgetType(); }
void STDMETHODCALLTYPE TFmWidgetParent::GetDescription(BSTR* Value) { ::GetDescription(Value); }
void STDMETHODCALLTYPE TFmWidgetParent::GetUpdateHistory(BSTR* Value) { ::GetUpdateHistory(Value); }
void STDMETHODCALLTYPE TFmWidgetParent::GetAuthor(BSTR* Value) { ::GetAuthor(Value); }
void STDMETHODCALLTYPE TFmWidgetParent::GetLogo(BSTR* Value) { ::GetLogo(Value); }
void STDMETHODCALLTYPE TFmWidgetParent::GetURL(BSTR* Value) { ::GetURL(Value); }

void STDMETHODCALLTYPE TFmWidgetParent::Close() {
  try {
    CloseWidget();
  } catch (...) {
  }
}

void STDMETHODCALLTYPE TFmWidgetParent::SetBounds(INT32 ALeft, INT32 ATop, INT32 AWidth, INT32 AHeight) {
  try {
    const bool resized = AWidth != Width() || AHeight != Height();
    MoveWindowTo(ALeft, ATop, AWidth, AHeight);
    if (resized && !Updating() && Visible()) DrawWindow();
  } catch (...) {
  }
}

// Messages.

LRESULT TFmWidgetParent::HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_MOUSEMOVE: {
      const LRESULT result = TFmWidgetBase::HandleMessage(Msg, wParam, lParam);
      // Only a press this window has seen starts a drag: a move can report the button down
      // before the press itself arrives (and before the click has activated the window).
      if ((wParam & MK_LBUTTON) && FPressedHere) {
        const TPNGButton* over = ButtonAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (!over || DragsWindow(*over)) {
          FPressedHere = false;
          FormMouseMove();
        }
      }
      return result;
    }
    case WM_ENTERSIZEMOVE:
      FInMoveLoop = true;
      break;
    case WM_EXITSIZEMOVE:
      FInMoveLoop = false;
      break;
    case WM_LBUTTONDOWN:
      // A press that reaches the window inside the move loop must not take its capture.
      if (FInMoveLoop) return 0;
      FPressedHere = true;
      break;
    case WM_LBUTTONUP:
      FPressedHere = false;
      break;
    case WM_MOVING:
      Moving(*reinterpret_cast<RECT*>(lParam));
      return TRUE;
    case WM_TIMER:
      if (wParam == tmrSmooth)
        tmrSmoothTimer();
      else
        TimerTick(wParam);
      return 0;
    case WM_ACTIVATE: {
      const LRESULT result = TFmWidgetBase::HandleMessage(Msg, wParam, lParam);
      Activated(LOWORD(wParam));
      return result;
    }
    case WM_MOUSEACTIVATE:
      return MA_ACTIVATE;
    case WM_SHOWWINDOW:
      if (wParam) FormShow();
      break;
    case WM_CONTEXTMENU: {
      int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
      if (x == -1 && y == -1) {  // from the keyboard
        x = Left() + Width() / 2;
        y = Top() + Height() / 2;
      }
      pmWidgetPopup();
      const UINT chosen =
          static_cast<UINT>(::TrackPopupMenu(pmWidget, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, Handle(), nullptr));
      if (chosen) MenuCommand(chosen);
      return 0;
    }
    case WM_CLOSE:
      CloseWidget();
      return 0;
    case WM_WIDGET_RELEASE:
      ::DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      ::KillTimer(Handle(), tmrSmooth);
      FormDestroy();
      try {
        SaveWidgetSet();
      } catch (...) {
      }
      SendToSidebar(WM_WIDGET_UNREGISTER);
      return 0;
    default:
      break;
  }
  return TFmWidgetBase::HandleMessage(Msg, wParam, lParam);
}

void TFmWidgetParent::WindowDestroyed() {
  // The window owns its object: whoever destroyed it (its own close, the bar going away),
  // the object goes with it.
  delete this;
}
