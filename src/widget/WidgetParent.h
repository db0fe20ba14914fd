// TFmWidgetParent: the window every widget derives from. A layered skinned window that the
// sidebar host manages through IWidget: it announces its life to the bar, floats or docks
// by dragging and glides into its slot, offers the widget menu, shows a flat tool strip
// while active and keeps its state in "Seting.ini" beside its library.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "WidgetBase.h"
#include "WidgetInterface.h"
#include "ZekTools.h"

class TFmWidgetParent : public TFmWidgetBase, public IWidget {
 public:
  // Menu command ids; a descendant's own items start at mniUser.
  enum TMenuItem : UINT {
    mniNormal = 1,
    mniInsertDesk,
    mniStayOnTop,
    mniTrans10,
    mniTrans20,
    mniTrans40,
    mniTrans60,
    mniTrans80,
    mniTrans100,
    mniFlashWindows,
    mniSet,
    mniClose,
    mniUser = 100
  };
  // Timer ids; a descendant's own timers start at tmrUser.
  enum TTimer : UINT_PTR { tmrSmooth = 1, tmrUser = 10 };

  // Keeps ASidebar; ALibraryFile is the widget library whose directory holds the settings
  // and images (tests pass another). The window comes with CreateWidget.
  explicit TFmWidgetParent(ISidebar* ASidebar, const std::wstring& ALibraryFile = GetModuleFile());
  ~TFmWidgetParent() override;

  // Creates the window owned by the sidebar window; its FormCreate loads the settings and
  // registers with the bar. Called right after construction, so the descendant's
  // overrides take part. False when the window could not be made.
  bool CreateWidget(const wchar_t* AClassName, int ADesignWidth, int ADesignHeight);

  IWidget* Widget() { return this; }
  ISidebar* Sidebar() const { return FSidebar; }
  const std::wstring& LibraryFile() const { return FLibraryFile; }
  std::wstring LibraryDir() const;

  bool LockSidebar() const { return FLockSidebar; }
  void SetLockSidebar(bool Value);  // the dock switch: WM_WIDGET_DOCKED / WM_WIDGET_UNDOCKED
  std::uint8_t Alpha() const { return FAlpha; }
  void SetAlpha(std::uint8_t Value);
  std::uint8_t GetBlendAlpha() const;
  bool ShowFlat() const { return FShowFlat; }
  bool InitCom() const { return FInitCom; }
  std::int32_t DefaultLeft() const { return FDefaultLeft; }
  std::int32_t DefaultTop() const { return FDefaultTop; }
  HMENU PopupMenu() const { return pmWidget; }

  // Called once after construction, before the window is first shown.
  virtual void InitWin();
  // Shows the window without activating it (WM_WIDGET_SHOWN; a floating widget moves to
  // its saved position).
  void ShowWidget();
  // Saves the settings and destroys the window at the next turn of the message loop.
  void CloseWidget();

  virtual void LoadWidgetSet();
  virtual void SaveWidgetSet();
  // Writes a snapshot of the widget's face to AFileName: the composed window image as PNG.
  virtual void FlashWindow(const std::wstring& AFileName);
  virtual void SmoothMove(const RECT& Target);
  virtual void Lock() {}
  virtual void UnLock() {}

  // Before the context menu opens: the checks of the mode and transparency items.
  void pmWidgetPopup();
  // Runs a command of the widget menu as if chosen.
  void MenuCommand(UINT Id);

  // Settings routines, each one read or write of one INI file below the library directory
  // (an empty FileName means "Config\LastCondition.ini").
  std::wstring ReadWidgetString(const std::wstring& Section, const std::wstring& Key,
                                const std::wstring& FileName) const;
  std::int32_t ReadWidgetInteger(const std::wstring& Section, const std::wstring& Key, const std::wstring& FileName,
                                 std::int32_t Default) const;
  bool ReadWidgetBool(const std::wstring& Section, const std::wstring& Key, const std::wstring& FileName,
                      bool Default) const;
  void WriteWidgetString(const std::wstring& Section, const std::wstring& Key, const std::wstring& FileName,
                         const std::wstring& Value) const;
  void WriteWidgetInteger(const std::wstring& Section, const std::wstring& Key, const std::wstring& FileName,
                          std::int32_t Value) const;
  void WriteWidgetBool(const std::wstring& Section, const std::wstring& Key, const std::wstring& FileName,
                       bool Value) const;

  // The flat tool strip: background, close and settings buttons.
  TPNGButton ImgFlatBg, ImgFlatClose, ImgFlatSet;

  // Whether the left mouse button is down now; tests put a scripted button here.
  std::function<bool()> LeftButtonDown;

  // IUnknown, without counting: the window lives until it is closed.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** Object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }

  // IWidget. Nothing thrown here reaches the host.
  void STDMETHODCALLTYPE GetFileName(BSTR* Value) override;
  HWND STDMETHODCALLTYPE GetHandle() override { return Handle(); }
  INT32 STDMETHODCALLTYPE GetLeft() override { return Left(); }
  INT32 STDMETHODCALLTYPE GetTop() override { return Top(); }
  INT32 STDMETHODCALLTYPE GetRight() override { return Left() + Width(); }
  INT32 STDMETHODCALLTYPE GetBottom() override { return Top() + Height(); }
  INT32 STDMETHODCALLTYPE GetWidth() override { return Width(); }
  INT32 STDMETHODCALLTYPE GetHeight() override { return Height(); }
  void STDMETHODCALLTYPE GetName(BSTR* Value) override;
  void STDMETHODCALLTYPE GetIcon(BSTR* Value) override;
  INT32 STDMETHODCALLTYPE GetWidgetType() override;
  void STDMETHODCALLTYPE GetDescription(BSTR* Value) override;
  void STDMETHODCALLTYPE GetUpdateHistory(BSTR* Value) override;
  void STDMETHODCALLTYPE GetAuthor(BSTR* Value) override;
  void STDMETHODCALLTYPE GetLogo(BSTR* Value) override;
  void STDMETHODCALLTYPE GetURL(BSTR* Value) override;
  void STDMETHODCALLTYPE Close() override;
  void STDMETHODCALLTYPE SetBounds(INT32 Left, INT32 Top, INT32 Width, INT32 Height) override;
  BOOLEAN STDMETHODCALLTYPE GetLockSidebar() override { return FLockSidebar ? 1 : 0; }
  BOOLEAN STDMETHODCALLTYPE GetVisible() override { return Visible() ? 1 : 0; }
  void STDMETHODCALLTYPE Reserved(INT32) override {}

 protected:
  // Sets bounds without activating or changing the z-order.
  void MoveWindowTo(int ALeft, int ATop, int AWidth, int AHeight);
  // Draws the flat tool strip on top when it is shown (and hides its buttons otherwise).
  void DrawFlatTool(Gdiplus::Graphics& Graphics);
  BYTE ConstantAlpha() const override { return GetBlendAlpha(); }

  // The descendant's settings item "设置"; empty here.
  virtual void mniSetClick() {}
  // A descendant's own menu command; false when it is not one.
  virtual bool UserMenuCommand(UINT) { return false; }
  virtual void TimerTick(UINT_PTR) {}
  // Whether a mouse move over this button starts dragging the window.
  virtual bool DragsWindow(const TPNGButton& Button) const;
  // While the window is destroyed, before WM_WIDGET_UNREGISTER.
  virtual void FormDestroy();

  // The base part of the skinned window, the menu, the settings, WM_WIDGET_REGISTER.
  void FormCreate() override;
  LRESULT HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) override;
  void WindowDestroyed() override;

  HMENU pmWidget = nullptr;

 private:
  void BuildMenu();
  void FormShow();
  void FormMouseMove();
  void Moving(RECT& Proposed);
  void tmrSmoothTimer();
  void SwitchSmooth(bool On);
  void Activated(WORD State);
  void mniFlashWindowsClick();
  void SendToSidebar(UINT Msg);
  std::wstring SettingsFile(const std::wstring& FileName) const;

  ISidebar* FSidebar = nullptr;
  std::wstring FLibraryFile;
  bool FLockSidebar = true;
  bool FShowFlat = false;
  std::uint8_t FAlpha = 100;
  std::int32_t FDefaultLeft = -1;
  std::int32_t FDefaultTop = -1;
  bool FInitCom = false;
  bool FSmoothOn = false;
  bool FInMoveLoop = false;   // inside the system's move loop
  bool FPressedHere = false;  // the left button went down on this window and is still down
  bool FClosing = false;
};
