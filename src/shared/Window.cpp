#include "Window.h"

TWindow::~TWindow() {
  if (FHandle) {
    // Detach first: the destroy messages must not reach a half-destroyed object.
    HWND handle = FHandle;
    ::SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
    FHandle = nullptr;
    ::DestroyWindow(handle);
  }
}

bool TWindow::CreateHandle(const wchar_t* ClassName, const wchar_t* Caption, DWORD Style, DWORD ExStyle, int Left,
                           int Top, int Width, int Height, HWND Owner) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  if (!::GetClassInfoExW(instance, ClassName, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &TWindow::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = ClassName;
    if (!::RegisterClassExW(&wc)) return false;
  }
  return ::CreateWindowExW(ExStyle, ClassName, Caption, Style, Left, Top, Width, Height, Owner, nullptr, instance,
                           this) != nullptr;
}

LRESULT TWindow::HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(FHandle, Msg, wParam, lParam);
}

LRESULT CALLBACK TWindow::WindowProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (Msg == WM_NCCREATE) {
    auto* self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->FHandle = Wnd;
    ::SetWindowLongPtrW(Wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TWindow*>(::GetWindowLongPtrW(Wnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(Wnd, Msg, wParam, lParam);
  LRESULT result = 0;
  try {
    result = self->HandleMessage(Msg, wParam, lParam);
  } catch (...) {
    // Unhandled errors are discarded; the program goes on with the next message.
  }
  if (Msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(Wnd, GWLP_USERDATA, 0);
    self->FHandle = nullptr;
  }
  return result;
}
