// A stand-in for the sidebar host in the widget's Windows tests: a hidden window that
// records every widget message, and the ISidebar answers a test sets up.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "WidgetInterface.h"

class TFakeSidebar final : public ISidebar {
 public:
  TFakeSidebar() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &TFakeSidebar::WindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TFakeSidebar";
    ::RegisterClassExW(&wc);
    FHandle = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"TFakeSidebar", L"", WS_POPUP, BarLeft, 0, BarWidth, 800, nullptr,
                                nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~TFakeSidebar() { ::DestroyWindow(FHandle); }
  TFakeSidebar(const TFakeSidebar&) = delete;
  TFakeSidebar& operator=(const TFakeSidebar&) = delete;

  // Widget messages as received: number and the widget it named.
  std::vector<std::pair<UINT, WPARAM>> Messages;
  int Count(UINT Msg) const {
    int n = 0;
    for (const auto& m : Messages) n += m.first == Msg ? 1 : 0;
    return n;
  }

  INT32 BarLeft = 1130;
  INT32 BarWidth = 150;
  bool GrantSlot = true;
  RECT Slot{1140, 40, 1286, 105};
  INT32 Monitor = 0;
  bool UseProxy = false;
  std::wstring ProxyHost = L"127.0.0.1";
  std::wstring ProxyPort = L"80";
  int ProxyQuestions = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** Object) override {
    if (Object) *Object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  HWND STDMETHODCALLTYPE GetHandle() override { return FHandle; }
  INT32 STDMETHODCALLTYPE GetLeft() override { return BarLeft; }
  INT32 STDMETHODCALLTYPE GetTop() override { return 0; }
  INT32 STDMETHODCALLTYPE GetRight() override { return BarLeft + BarWidth; }
  INT32 STDMETHODCALLTYPE GetBottom() override { return 800; }
  INT32 STDMETHODCALLTYPE GetWidth() override { return BarWidth; }
  INT32 STDMETHODCALLTYPE GetHeight() override { return 800; }
  BOOLEAN STDMETHODCALLTYPE GetWidgetRect(IWidget*, RECT* Rect) override {
    if (!GrantSlot) return 0;
    *Rect = Slot;
    return 1;
  }
  INT32 STDMETHODCALLTYPE GetMonitor() override { return Monitor; }
  void* STDMETHODCALLTYPE GetApplication() override { return nullptr; }
  BOOLEAN STDMETHODCALLTYPE GetProxy(BSTR* Host, BSTR* Port) override {
    ++ProxyQuestions;
    WidgetAssignText(Host, ProxyHost.c_str());
    WidgetAssignText(Port, ProxyPort.c_str());
    return UseProxy ? 1 : 0;
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TFakeSidebar*>(::GetWindowLongPtrW(Wnd, GWLP_USERDATA));
    if (self && Msg >= WM_WIDGET_REGISTER && Msg <= WM_WIDGET_DRAGGING) {
      self->Messages.emplace_back(Msg, wParam);
      return 0;
    }
    return ::DefWindowProcW(Wnd, Msg, wParam, lParam);
  }

  HWND FHandle = nullptr;
};
