// The least form framework: one C++ object owns one HWND; the window procedure finds the
// object (stored at WM_NCCREATE) and hands every message to its HandleMessage.
#pragma once

#include <windows.h>

// The window rectangle of a frame with this client size and these styles, centred on the
// primary monitor's work area.
RECT CentredFrame(int ClientWidth, int ClientHeight, DWORD Style, DWORD ExStyle);

class TWindow {
 public:
  TWindow() = default;
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;
  virtual ~TWindow();

  HWND Handle() const { return FHandle; }

 protected:
  // Registers ClassName for this process (once) and creates the window.
  bool CreateHandle(const wchar_t* ClassName, const wchar_t* Caption, DWORD Style, DWORD ExStyle, int Left, int Top,
                    int Width, int Height, HWND Owner);

  // Handles one message; the default passes it to DefWindowProc.
  virtual LRESULT HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam);

  // The last call after the window is gone (WM_NCDESTROY, Handle() already 0). A window
  // that owns itself may delete itself here: nothing touches the object afterwards.
  virtual void WindowDestroyed() {}

 private:
  // The error boundary: nothing a handler throws leaves the window procedure.
  static LRESULT CALLBACK WindowProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam);

  HWND FHandle = nullptr;
};
