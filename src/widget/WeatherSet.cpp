#include "WeatherSet.h"

namespace {

constexpr int kClientWidth = 345, kClientHeight = 160;
constexpr int kButtonBar = 30;
TFmWeatherSet* gRunning = nullptr;

constexpr wchar_t kHelpText[] =
    L"请输入您需要预报天气的城市名称，支持国内所有县级地区。（注意：请直接输入城市名称，不需要输入省份，例如直接输入"
    L"“珠海”，不需要输入“广东 珠海”）";

}  // namespace

TFmWeatherSet::TFmWeatherSet(HWND AParHandle) : TFmWidgetSetParent(AParHandle) {}

TFmWeatherSet* TFmWeatherSet::Running() { return gRunning; }

bool TFmWeatherSet::ShowForm(HWND AParHandle, std::wstring& ACity) {
  TFmWeatherSet dialog(AParHandle);
  if (!dialog.CreateForm(L"TFmWeatherSet", L"天气预报选项", kClientWidth, kClientHeight,
                         WS_CAPTION | WS_SYSMENU | WS_THICKFRAME))
    return false;
  ::SetWindowTextW(dialog.Control(edtCityId), ACity.c_str());
  TFmWeatherSet* const outer = gRunning;
  gRunning = &dialog;
  const int result = dialog.ShowModal();
  gRunning = outer;
  if (result != IDOK) return false;
  ACity = dialog.EditText();
  return true;
}

void TFmWeatherSet::FormCreate() {
  // Created in keyboard order: the edit, the help text, then the two buttons.
  AddControl(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, 8, 24, 320, 21, edtCityId, WS_EX_CLIENTEDGE);
  AddControl(L"EDIT", kHelpText, WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 8, 56, 320, 57, mmo1Id,
             WS_EX_CLIENTEDGE);
  AddControl(L"BUTTON", L"确定", WS_TABSTOP | BS_PUSHBUTTON, 184, kClientHeight - kButtonBar + 4, 75, 23, btnOkId);
  AddControl(L"BUTTON", L"取消", WS_TABSTOP | BS_PUSHBUTTON, 264, kClientHeight - kButtonBar + 4, 75, 23, btnCancelId);
  // Last, so it lies beneath the controls it frames.
  AddControl(L"BUTTON", L"城市", BS_GROUPBOX, 0, 0, kClientWidth, kClientHeight - kButtonBar, grp1Id);
}

void TFmWeatherSet::FormResize(int ClientWidth, int ClientHeight) {
  // The edit and the help text stretch; the buttons keep to the right edge of the bar.
  const int stretch = ClientWidth - kClientWidth;
  const int grow = ClientHeight - kClientHeight;
  auto move = [this](int Id, int Left, int Top, int Width, int Height) {
    if (HWND control = Control(Id)) ::MoveWindow(control, Left, Top, Width, Height, TRUE);
  };
  move(grp1Id, 0, 0, ClientWidth, ClientHeight - kButtonBar);
  move(edtCityId, 8, 24, 320 + stretch, 21);
  move(mmo1Id, 8, 56, 320 + stretch, 57 + grow);
  move(btnOkId, 184 + stretch, ClientHeight - kButtonBar + 4, 75, 23);
  move(btnCancelId, 264 + stretch, ClientHeight - kButtonBar + 4, 75, 23);
}

void TFmWeatherSet::ControlCommand(int Id, int Code, HWND) {
  if (Code != BN_CLICKED) return;
  if (Id == btnOkId) SetModalResult(IDOK);
  if (Id == btnCancelId) SetModalResult(IDCANCEL);
}

std::wstring TFmWeatherSet::EditText() const {
  HWND edit = Control(edtCityId);
  const int length = ::GetWindowTextLengthW(edit);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(edit, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}
