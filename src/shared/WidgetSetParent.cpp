#include "WidgetSetParent.h"

#include "Application.h"

TFmWidgetSetParent::TFmWidgetSetParent(HWND AParHandle)
    : FParHandle(AParHandle ? AParHandle : Application.MainFormHandle()) {
  FFont = ::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
}

TFmWidgetSetParent::~TFmWidgetSetParent() {
  if (Handle()) ::DestroyWindow(Handle());
  if (FFont) ::DeleteObject(FFont);
}

bool TFmWidgetSetParent::CreateForm(const wchar_t* ClassName, const wchar_t* Caption, int ClientWidth,
                                    int ClientHeight, DWORD Style) {
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  const RECT frame = CentredFrame(ClientWidth, ClientHeight, Style, exStyle);
  // An owned window never gets a taskbar button; without an owner it is an ordinary one.
  if (!CreateHandle(ClassName, Caption, Style | WS_CLIPCHILDREN, exStyle, frame.left, frame.top,
                    frame.right - frame.left, frame.bottom - frame.top, FParHandle))
    return false;
  ::SetClassLongPtrW(Handle(), GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(::GetSysColorBrush(COLOR_BTNFACE)));
  FormCreate();
  return true;
}

HWND TFmWidgetSetParent::AddControl(const wchar_t* ClassName, const wchar_t* Text, DWORD Style, int Left, int Top,
                                    int Width, int Height, int Id, DWORD ExStyle) {
  return AddChild(Handle(), ClassName, Text, Style, Left, Top, Width, Height, Id, ExStyle);
}

HWND TFmWidgetSetParent::AddChild(HWND Parent, const wchar_t* ClassName, const wchar_t* Text, DWORD Style, int Left,
                                  int Top, int Width, int Height, int Id, DWORD ExStyle) {
  HWND control = ::CreateWindowExW(ExStyle, ClassName, Text, WS_CHILD | WS_VISIBLE | Style, Left, Top, Width, Height,
                                   Parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), nullptr, nullptr);
  if (control) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), FALSE);
  return control;
}

namespace {

constexpr wchar_t kPageClass[] = L"TFmWidgetSetPage";

LRESULT CALLBACK PageProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return ::SendMessageW(::GetParent(Wnd), Msg, wParam, lParam);
    default:
      return ::DefWindowProcW(Wnd, Msg, wParam, lParam);
  }
}

}  // namespace

HWND TFmWidgetSetParent::AddPage(int Left, int Top, int Width, int Height, int Id) {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&PageProc), &module);
  WNDCLASSEXW wc{};
  if (!::GetClassInfoExW(module, kPageClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &PageProc;
    wc.hInstance = module;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kPageClass;
    if (!::RegisterClassExW(&wc)) return nullptr;
  }
  return ::CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, Left, Top,
                           Width, Height, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)), module,
                           nullptr);
}

int TFmWidgetSetParent::ShowModal() {
  if (!Handle()) return IDCANCEL;
  FModalResult = 0;
  const bool ownerWasEnabled = FParHandle && ::IsWindowEnabled(FParHandle);
  if (ownerWasEnabled) ::EnableWindow(FParHandle, FALSE);
  ::ShowWindow(Handle(), SW_SHOW);
  ::SetForegroundWindow(Handle());
  if (HWND first = ::GetNextDlgTabItem(Handle(), nullptr, FALSE)) ::SetFocus(first);

  MSG msg;
  while (FModalResult == 0 && Handle()) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));  // the program's loop ends too
      FModalResult = IDCANCEL;
      break;
    }
    if (!::IsDialogMessageW(Handle(), &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  // The owner is enabled again before the dialog hides, so activation returns to it.
  if (ownerWasEnabled) ::EnableWindow(FParHandle, TRUE);
  if (Handle()) ::ShowWindow(Handle(), SW_HIDE);
  return FModalResult;
}

void TFmWidgetSetParent::ControlCommand(int, int, HWND) {}

void TFmWidgetSetParent::FormResize(int, int) {}

LRESULT TFmWidgetSetParent::HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const auto control = reinterpret_cast<HWND>(lParam);
      // Enter and Escape arrive as IDOK/IDCANCEL without a control: no default buttons here.
      if (!control && (id == IDOK || id == IDCANCEL)) return 0;
      ControlCommand(id, HIWORD(wParam), control);
      return 0;
    }
    case WM_CLOSE:
      FModalResult = IDCANCEL;
      return 0;
    case WM_SIZE:
      FormResize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_CTLCOLORSTATIC: {
      // Labels on the button face; a read-only edit keeps its own window colour.
      wchar_t className[16] = {};
      ::GetClassNameW(reinterpret_cast<HWND>(lParam), className, 16);
      if (::lstrcmpiW(className, L"Edit") == 0) break;
      const auto dc = reinterpret_cast<HDC>(wParam);
      ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    default:
      break;
  }
  return TWindow::HandleMessage(Msg, wParam, lParam);
}
