// TFmOrvoSidebar: the sidebar's main window, a 150-pixel per-pixel-alpha bar at the left
// or right edge of one monitor, carrying the docked widgets. It is the host's ISidebar.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "DefineUint.h"
#include "SidebarLayout.h"
#include "WidgetBase.h"
#include "WidgetInterface.h"
#include "ZekTools.h"

// Raised when a widget library's CreateWidget delivers no widget.
class EWidgetOpenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TFmOrvoSidebar final : public TFmWidgetBase, public ISidebar {
 public:
  // Creates the window, owned by the application window, from the loaded options
  // (WidgetOptions); every file is found below ProgramDir. The window is not shown yet.
  explicit TFmOrvoSidebar(const std::wstring& ProgramDir = GetModuleDir());
  ~TFmOrvoSidebar() override;

  void Show();

  // Placement, skin, gap, auto-hide and window mode; each takes effect at once, none saves.
  void SetPosition(std::int32_t AMonitor, TSidebarAlign ASidebarAlign);
  void SetAutoHide(bool AValue);
  void SetWinDesk(TWinDesk AValue) override;
  void SetBaseSkin(const std::wstring& AValue);
  void SetWidgetInv(std::int32_t AValue);
  void DoAutoHide(bool AMouseIn);

  // Widgets.
  void ShowWidget(const std::wstring& AFileName, bool ASave);
  void AlignWidget(std::uintptr_t AValue);
  void ChangePage(std::int32_t ADelta);
  void SaveSidebarSet();

  std::int32_t Monitor() const { return FMonitor; }
  TSidebarAlign SidebarAlign() const { return FSidebarAlign; }
  const std::wstring& BaseSkin() const { return FBaseSkin; }
  std::int32_t WidgetInv() const { return FWidgetInv; }
  std::int32_t PageIndex() const { return FPageIndex; }
  bool AutoHide() const { return FAutoHide; }
  bool AutoHideFlag() const { return FAutoHideFlag; }
  const TWidgetList& Widgets() const { return FWidgets; }
  const std::wstring& ProgramDir() const { return FProgramDir; }

  // What "添加小工具" and "系统设置" open, given the bar's handle (the gallery and the
  // settings dialog plug in here); unset, the actions do nothing.
  std::function<void(HWND)> OnAddWidget;
  std::function<void(HWND)> OnWidgetSet;

  // ISidebar
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** Object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  HWND STDMETHODCALLTYPE GetHandle() override { return Handle(); }
  INT32 STDMETHODCALLTYPE GetLeft() override { return Left(); }
  INT32 STDMETHODCALLTYPE GetTop() override { return Top(); }
  INT32 STDMETHODCALLTYPE GetRight() override { return Left() + Width(); }
  INT32 STDMETHODCALLTYPE GetBottom() override { return Top() + Height(); }
  INT32 STDMETHODCALLTYPE GetWidth() override { return Width(); }
  INT32 STDMETHODCALLTYPE GetHeight() override { return Height(); }
  BOOLEAN STDMETHODCALLTYPE GetWidgetRect(IWidget* Widget, RECT* Rect) override;
  INT32 STDMETHODCALLTYPE GetMonitor() override { return FMonitor; }
  void* STDMETHODCALLTYPE GetApplication() override;
  BOOLEAN STDMETHODCALLTYPE GetProxy(BSTR* Host, BSTR* Port) override;

 protected:
  void FormCreate() override;
  void PaintButtons(Gdiplus::Graphics& Graphics) override;
  LRESULT HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) override;

 private:
  enum TTimer : UINT_PTR { tmrHeightChange = 1, tmrFlushMemory, tmrAutoHide };
  enum TMenuItem : UINT { mniAddWidget = 1, mniWidgetSet };

  void LoadSidebarSet();
  TBarMetrics BarMetrics() const;
  void MoveLeft(std::int32_t ALeft);

  void tmrHeightChangeTimer();
  void tmrFlushMemoryTimer();
  void tmrAutoHideTimer();
  void actAddToolExecute();
  void actWidgetSetExecute();
  void ShowMainMenu(int X, int Y);
  void FormClose();
  void KillTimers();

  // Widget messages and saved lists.
  void WidgetMessage(UINT Msg, std::uintptr_t Widget);
  void LoadWidgets(bool Locked);
  std::vector<std::wstring> ListLines(bool Locked);
  std::wstring ListFile(bool Locked) const;

  std::wstring FProgramDir;
  TPNGButton ImgBg, ImgTool, ImgAdd, ImgUp, ImgDown;
  HMENU pmMain = nullptr;

  std::int32_t FMonitor = -1;
  TSidebarAlign FSidebarAlign = saRight;
  std::wstring FBaseSkin;
  std::int32_t FWidgetInv = 10;
  std::int32_t FPageIndex = 0;
  bool FAutoHide = false;
  bool FAutoHideFlag = false;
  TWidgetList FWidgets;
  bool FClosing = false;  // after close the widget messages are ignored
};

extern TFmOrvoSidebar* FmOrvoSidebar;
