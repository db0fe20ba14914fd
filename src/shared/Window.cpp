#include "Window.h"

#include "Hourglass.h"

TWindow::~TWindow() {
  if (FHandle) {
    // Detach first: the destroy messages must not reach a half-destroyed object.
    HWND handle = FHandle;
    ::SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
    FHandle = nullptr;
    ::DestroyWindow(handle);
  }
}

namespace {

// The module holding this code: a plug-in library registers its window classes as its own,
// so they never meet a class of the same name in the program or another library.
HINSTANCE CodeModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&CodeModule), &module);
  return module ? module : ::GetModuleHandleW(nullptr);
}

}  // namespace

RECT CentredFrame(int ClientWidth, int ClientHeight, DWORD Style, DWORD ExStyle) {
  RECT frame{0, 0, ClientWidth, ClientHeight};
  ::AdjustWindowRectEx(&frame, Style, FALSE, ExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int left = work.left + (work.right - work.left - width) / 2;
  const int top = work.top + (work.bottom - work.top - height) / 2;
  return RECT{left, top, left + width, top + height};
}

bool TWindow::CreateHandle(const wchar_t* ClassName, const wchar_t* Caption, DWORD Style, DWORD ExStyle, int Left,
                           int Top, int Width, int Height, HWND Owner) {
  const HINSTANCE instance = CodeModule();
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
  if (Msg == WM_SETCURSOR && HourglassShown() && LOWORD(lParam) == HTCLIENT) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    return TRUE;
  }
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
    try {
      self->WindowDestroyed();
    } catch (...) {
    }
  }
  return result;
}
