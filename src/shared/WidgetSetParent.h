// TFmWidgetSetParent: the base of the plain settings dialogs. An ordinary window with
// standard controls in Tahoma 8 pt, owned by the window the caller names, so it stays
// above that window and never has a taskbar button of its own; run modally.
#pragma once

#include <windows.h>

#include "Window.h"

class TFmWidgetSetParent : public TWindow {
 public:
  // AParHandle owns the dialog; 0 means the program's main window, which a plug-in
  // library does not have (the dialog then has no owner).
  explicit TFmWidgetSetParent(HWND AParHandle);
  ~TFmWidgetSetParent() override;

  HWND ParHandle() const { return FParHandle; }

  // Shows the dialog with its owner disabled and runs until a result is set or the close
  // box is used (IDCANCEL). The window stays until the object is freed.
  int ShowModal();
  void SetModalResult(int Value) { FModalResult = Value; }
  int ModalResult() const { return FModalResult; }

 protected:
  // Creates the window: sizeable border, button-face colour, the given client size,
  // centred on the screen. Descendants add their controls in FormCreate.
  bool CreateForm(const wchar_t* ClassName, const wchar_t* Caption, int ClientWidth, int ClientHeight,
                  DWORD Style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
  virtual void FormCreate() {}
  // A command from one of the controls (never the Enter/Escape commands IDOK/IDCANCEL,
  // which the dialog does not map to buttons).
  virtual void ControlCommand(int Id, int Code, HWND Control);
  // The client area changed size.
  virtual void FormResize(int ClientWidth, int ClientHeight);

  // A standard control, child of the dialog, in the dialog's font.
  HWND AddControl(const wchar_t* ClassName, const wchar_t* Text, DWORD Style, int Left, int Top, int Width,
                  int Height, int Id, DWORD ExStyle = 0);
  // The same, child of Parent (a page of the dialog).
  HWND AddChild(HWND Parent, const wchar_t* ClassName, const wchar_t* Text, DWORD Style, int Left, int Top,
                int Width, int Height, int Id, DWORD ExStyle = 0);
  // A page: a child window on the button face that holds controls, hands their commands and
  // colour requests to the dialog, and takes part in the dialog's keyboard order.
  HWND AddPage(int Left, int Top, int Width, int Height, int Id);
  HWND Control(int Id) const { return ::GetDlgItem(Handle(), Id); }
  HFONT Font() const { return FFont; }

  LRESULT HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND FParHandle = nullptr;
  HFONT FFont = nullptr;
  int FModalResult = 0;
};
