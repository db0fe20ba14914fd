// The weather widget library's exports. Nothing thrown inside leaves an export.
#include "WidgetInfo.h"

#include <commctrl.h>

#include "SkinImage.h"
#include "Weather.h"
#include "ZekTools.h"

#ifndef ORVO_MAKER_URL_W
#define ORVO_MAKER_URL_W L""
#endif

namespace {

void StartOnce() {
  static bool started = false;
  if (started) return;
  started = true;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  // GDI+ for as long as the library is loaded; the host never unloads a library it opened.
  new TGdiPlusSession();
}

void Assign(BSTR* Value, const wchar_t* Text) {
  try {
    WidgetAssignText(Value, Text);
  } catch (...) {
  }
}

}  // namespace

extern "C" {

void WINAPI CreateWidget(IWidget** Widget, ISidebar* Sidebar) {
  if (!Widget) return;
  *Widget = nullptr;
  try {
    if (!Sidebar) return;
    StartOnce();
    *Widget = TFmWeather::ShowForm(Sidebar);
  } catch (...) {
    *Widget = nullptr;  // the host sees a widget that could not be opened
  }
}

void WINAPI GetName(BSTR* Value) { Assign(Value, L"天气预报"); }

void WINAPI GetIcon(BSTR* Value) {
  try {
    WidgetAssignText(Value, (GetModuleDir() + L"Icon.png").c_str());
  } catch (...) {
  }
}

void WINAPI GetVision(BSTR* Value) { Assign(Value, L"1.0.0.0"); }

void WINAPI GetDescription(BSTR* Value) {
  Assign(Value,
         L"采用中央气象台服务器数据,能准确预报全球8000多个城市的3天天气预报,支持国内所有县级城市,背景颜色随白天黑夜自动变化.");
}

INT32 WINAPI GetWidgetType() { return 3; }

void WINAPI GetUpdateHistory(BSTR* Value) { Assign(Value, L""); }

void WINAPI GetAuthor(BSTR* Value) { Assign(Value, L"Norrel"); }

void WINAPI GetLogo(BSTR* Value) { Assign(Value, L""); }

void WINAPI GetURL(BSTR* Value) { Assign(Value, ORVO_MAKER_URL_W); }
}
