#include "Application.h"

#include <vector>

#include "ZekTools.h"

TApplication Application;

namespace {

constexpr wchar_t kApplicationClass[] = L"TApplication";

std::wstring ExecutableTitle() {
  std::wstring name = GetModuleFile();
  name.erase(0, name.find_last_of(L"\\:") + 1);
  if (const auto dot = name.find_last_of(L'.'); dot != std::wstring::npos) name.resize(dot);
  return name;
}

}  // namespace

TApplication::~TApplication() { Finalize(); }

void TApplication::Finalize() {
  DestroyOwnedWindows();
  if (FHandle) ::DestroyWindow(FHandle);
  FHandle = nullptr;
}

void TApplication::Initialize() {
  if (FHandle) return;
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &TApplication::WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kApplicationClass;
  ::RegisterClassExW(&wc);
  // Never shown. It starts as an app window; the sidebar entry takes that presence away.
  FHandle = ::CreateWindowExW(WS_EX_APPWINDOW, kApplicationClass, ExecutableTitle().c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                              nullptr, nullptr, instance, nullptr);
}

void TApplication::SetTitle(const std::wstring& Title) {
  if (FHandle) ::SetWindowTextW(FHandle, Title.c_str());
}

std::wstring TApplication::Title() const {
  if (!FHandle) return {};
  wchar_t buffer[256] = {};
  ::GetWindowTextW(FHandle, buffer, 256);
  return buffer;
}

void TApplication::Run() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void TApplication::DestroyOwnedWindows() {
  if (!FHandle) return;
  struct TOwned {
    HWND Owner;
    std::vector<HWND> Windows;
  } owned{FHandle, {}};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND Wnd, LPARAM Param) -> BOOL {
        auto* list = reinterpret_cast<TOwned*>(Param);
        if (::GetWindow(Wnd, GW_OWNER) == list->Owner) list->Windows.push_back(Wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&owned));
  for (HWND wnd : owned.Windows)
    if (::IsWindow(wnd)) ::DestroyWindow(wnd);
}

LRESULT CALLBACK TApplication::WindowProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(Wnd, Msg, wParam, lParam);
}
