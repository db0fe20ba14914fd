// WidgetInterface.h: everything a widget library and the sidebar host agree on.
//
// A widget lives in its own directory below the host's "Widgets\" directory, in a library
// always named "Widget.dll", with its own files beside it (found through the library's
// own module path). The host opens a widget like this:
//
//   1. LoadLibrary(full path), GetProcAddress("CreateWidget");
//   2. CreateWidget(&widget, sidebar): inside this call the library creates its window
//      with sidebar->GetHandle() as owner window, keeps `sidebar` for the window's life,
//      reads its own settings, sends WM_WIDGET_REGISTER, shows the window (sending
//      WM_WIDGET_SHOWN) and finally stores its IWidget in `widget`. A library that cannot
//      create its widget leaves `widget` null: the host treats that as a failed opening.
//   3. The host never unloads a library it opened with CreateWidget.
//
// Messages from a widget window to the sidebar window (SendMessage to GetHandle(); wParam
// is the widget's own IWidget pointer, the same value every time; lParam 0):
//   WM_WIDGET_REGISTER    while the window is created, after reading its settings, before showing
//   WM_WIDGET_SHOWN       each time the window is shown
//   WM_WIDGET_DOCKED      its docked state changes from false to true
//   WM_WIDGET_UNDOCKED    its docked state changes from true to false
//   WM_WIDGET_DRAGGING    each move step while it overlaps the bar horizontally (docked first)
//   WM_WIDGET_UNREGISTER  while the window is destroyed, after saving its settings; the host
//                         never uses the pointer again afterwards
// The host keeps each IWidget only as a pointer value from REGISTER to UNREGISTER.
//
// Binary conventions: COM-style tables (IUnknown first, then the operations in the order
// below), STDMETHODCALLTYPE. Neither side counts references: AddRef and Release return -1
// and never destroy anything; QueryInterface answers E_NOINTERFACE. Booleans are one byte
// (BOOLEAN), integers INT32, rectangles a RECT in screen coordinates. A text out-parameter
// is a BSTR*: the callee frees what the variable holds (SysFreeString) and stores a fresh
// SysAllocString; the caller owns the result. Only BSTRs and these two interfaces cross the
// boundary: no C++ library types, no exceptions, no memory freed on the other side.
// Everything is called on the host's user-interface thread, except ISidebar::GetProxy,
// which a widget's worker thread may call.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include "DefineUint.h"  // TWinDesk and the WM_WIDGET_... message numbers

struct IWidget;

// Implemented by the sidebar window.
struct ISidebar : public IUnknown {
  virtual HWND STDMETHODCALLTYPE GetHandle() = 0;    // the sidebar window
  virtual INT32 STDMETHODCALLTYPE GetLeft() = 0;     // screen x of the bar
  virtual INT32 STDMETHODCALLTYPE GetTop() = 0;
  virtual INT32 STDMETHODCALLTYPE GetRight() = 0;    // left + width
  virtual INT32 STDMETHODCALLTYPE GetBottom() = 0;   // top + height
  virtual INT32 STDMETHODCALLTYPE GetWidth() = 0;
  virtual INT32 STDMETHODCALLTYPE GetHeight() = 0;
  // True when Widget is open in the host; Rect is then its slot in the bar (also while it
  // floats: the first slot). False leaves Rect unchanged.
  virtual BOOLEAN STDMETHODCALLTYPE GetWidgetRect(IWidget* Widget, RECT* Rect) = 0;
  // Index of the monitor carrying the bar, in the system's monitor order; -1 before placement.
  virtual INT32 STDMETHODCALLTYPE GetMonitor() = 0;
  // Opaque identity of the host application (its hidden owner window).
  virtual void* STDMETHODCALLTYPE GetApplication() = 0;
  // True when HTTP requests shall go through the proxy Host:Port (Port as decimal text).
  virtual BOOLEAN STDMETHODCALLTYPE GetProxy(BSTR* Host, BSTR* Port) = 0;
};

// Implemented by each widget window.
struct IWidget : public IUnknown {
  virtual void STDMETHODCALLTYPE GetFileName(BSTR* Value) = 0;  // full path of its library
  virtual HWND STDMETHODCALLTYPE GetHandle() = 0;
  virtual INT32 STDMETHODCALLTYPE GetLeft() = 0;
  virtual INT32 STDMETHODCALLTYPE GetTop() = 0;
  virtual INT32 STDMETHODCALLTYPE GetRight() = 0;
  virtual INT32 STDMETHODCALLTYPE GetBottom() = 0;
  // The size the widget occupies in the bar (its window's, unless it fixes a docked size).
  virtual INT32 STDMETHODCALLTYPE GetWidth() = 0;
  virtual INT32 STDMETHODCALLTYPE GetHeight() = 0;
  virtual void STDMETHODCALLTYPE GetName(BSTR* Value) = 0;
  virtual void STDMETHODCALLTYPE GetIcon(BSTR* Value) = 0;
  virtual INT32 STDMETHODCALLTYPE GetWidgetType() = 0;
  virtual void STDMETHODCALLTYPE GetDescription(BSTR* Value) = 0;
  virtual void STDMETHODCALLTYPE GetUpdateHistory(BSTR* Value) = 0;
  virtual void STDMETHODCALLTYPE GetAuthor(BSTR* Value) = 0;
  virtual void STDMETHODCALLTYPE GetLogo(BSTR* Value) = 0;
  virtual void STDMETHODCALLTYPE GetURL(BSTR* Value) = 0;
  // Saves its settings and destroys itself after the current message.
  virtual void STDMETHODCALLTYPE Close() = 0;
  virtual void STDMETHODCALLTYPE SetBounds(INT32 Left, INT32 Top, INT32 Width, INT32 Height) = 0;
  virtual BOOLEAN STDMETHODCALLTYPE GetLockSidebar() = 0;  // docked in the bar
  virtual BOOLEAN STDMETHODCALLTYPE GetVisible() = 0;
  virtual void STDMETHODCALLTYPE Reserved(INT32 Value) = 0;  // does nothing
};

// The exports of a widget library, by name (use a .def file, so any compiler matches).
extern "C" {
typedef void(WINAPI* TCreateWidget)(IWidget** Widget, ISidebar* Sidebar);
typedef void(WINAPI* TGetWidgetText)(BSTR* Value);  // GetName GetIcon GetVision GetDescription
                                                    // GetUpdateHistory GetAuthor GetLogo GetURL
typedef INT32(WINAPI* TGetWidgetType)();            // GetWidgetType
}

// Stores a text in a BSTR out-parameter by the convention above.
inline void WidgetAssignText(BSTR* Out, const wchar_t* Text) {
  if (!Out) return;
  if (*Out) ::SysFreeString(*Out);
  *Out = ::SysAllocString(Text);
}
