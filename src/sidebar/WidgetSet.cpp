#include "WidgetSet.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "Monitors.h"
#include "Sidebar.h"
#include "WidgetSetChoices.h"
#include "ZekTools.h"

namespace {

constexpr int kClientWidth = 369, kClientHeight = 320;
constexpr int kButtonBar = 30;
constexpr wchar_t kBackgroundDir[] = L"Skin\\sidebar\\background\\";
TFmWidgetSet* gRunning = nullptr;

bool SamePath(const std::wstring& A, const std::wstring& B) {
  return ::CompareStringOrdinal(A.c_str(), static_cast<int>(A.size()), B.c_str(), static_cast<int>(B.size()),
                                TRUE) == CSTR_EQUAL;
}

std::wstring WindowText(HWND Wnd) {
  const int length = ::GetWindowTextLengthW(Wnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(Wnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

int Selected(HWND Combo) { return static_cast<int>(::SendMessageW(Combo, CB_GETCURSEL, 0, 0)); }

void AddItem(HWND Combo, const std::wstring& Text) {
  ::SendMessageW(Combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Text.c_str()));
}

}  // namespace

TFmWidgetSet::TFmWidgetSet(HWND AParHandle, TFmOrvoSidebar& Sidebar)
    : TFmWidgetSetParent(AParHandle), FSidebar(Sidebar) {}

TFmWidgetSet* TFmWidgetSet::Running() { return gRunning; }

bool TFmWidgetSet::ShowForm(HWND AParHandle) {
  if (!FmOrvoSidebar) return false;
  const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  TFmWidgetSet dialog(AParHandle, *FmOrvoSidebar);
  if (!dialog.CreateForm(L"TFmWidgetSet", L"侧边栏设置", kClientWidth, kClientHeight, WS_CAPTION | WS_SYSMENU))
    return false;
  dialog.LoadFromSidebar();
  TFmWidgetSet* const outer = gRunning;
  gRunning = &dialog;
  const int result = dialog.ShowModal();
  gRunning = outer;
  if (result != IDOK) return false;
  dialog.btnApplyClick();
  return true;
}

void TFmWidgetSet::FormCreate() {
  // The page control fills the client area above the button bar; its one page is a real
  // child window over the page control's display area, holding the page's controls.
  HWND pages = AddControl(WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, 0, 0, kClientWidth, kClientHeight - kButtonBar,
                          pgcSetId);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  wchar_t caption[] = L"基本设置";
  item.pszText = caption;
  ::SendMessageW(pages, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  RECT area{0, 0, kClientWidth, kClientHeight - kButtonBar};
  ::SendMessageW(pages, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  FSheet = AddPage(area.left, area.top, area.right - area.left, area.bottom - area.top, tsBaseSetId);
  const int barY = kClientHeight - kButtonBar;

  auto add = [this](const wchar_t* ClassName, const wchar_t* Text, DWORD Style, int Left, int Top, int Width,
                    int Height, int Id, DWORD ExStyle = 0) {
    return AddChild(FSheet, ClassName, Text, Style, Left, Top, Width, Height, Id, ExStyle);
  };
  constexpr int g1x = 10, g1y = 47;   // grp1
  constexpr int g2x = 10, g2y = 112;  // GroupBox1
  // In keyboard order; the frames and the labels come after and lie beneath.
  const HWND page[] = {
      add(L"BUTTON", L"自动隐藏侧边栏", WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 10, 13, 148, 19, chkAutoHideId),
      add(L"BUTTON", L"普通", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, g1x + 9, g1y + 23, 90, 17, rbNormalId),
      add(L"BUTTON", L"总在最前", BS_AUTORADIOBUTTON, g1x + 106, g1y + 23, 120, 17, rbTopId),
      add(L"BUTTON", L"嵌入桌面", BS_AUTORADIOBUTTON, g1x + 235, g1y + 23, 105, 17, rbDeskId),
      add(L"COMBOBOX", L"", WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST, g2x + 49, g2y + 30, 91, 200,
          cbbMoniterId),
      add(L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, g2x + 226, g2y + 30, 109, 200, cbbAlignId),
      add(L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 86, 191, 272, 200, cbbSidebarId),
      add(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, 10, 232, 60, 21, seWidgetInvId, WS_EX_CLIENTEDGE),
      add(UPDOWN_CLASSW, L"", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0,
          seWidgetInvSpinId),
      add(L"STATIC", L"监视器", 0, g2x + 7, g2y + 34, 40, 14, lbl1Id),
      add(L"STATIC", L"位置", 0, g2x + 194, g2y + 34, 30, 14, lbl2Id),
      add(L"STATIC", L"侧边栏皮肤", 0, 10, 196, 74, 14, lbl3Id),
      add(L"STATIC", L"小工具间隔距离", 0, 71, 234, 120, 14, lbl4Id),
      add(L"BUTTON", L"显示风格", BS_GROUPBOX, g1x, g1y, 348, 54, grp1Id),
      add(L"BUTTON", L"显示位置", BS_GROUPBOX, g2x, g2y, 348, 62, GroupBox1Id),
  };
  const HWND dialog[] = {
      FSheet,
      AddControl(L"BUTTON", L"确定", WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 195, barY + 4, 81, 23, btnOkId),
      AddControl(L"BUTTON", L"取消", WS_TABSTOP | BS_PUSHBUTTON, 281, barY + 4, 81, 23, btnCancelId),
      AddControl(L"BUTTON", L"应用", WS_TABSTOP | BS_PUSHBUTTON, 9, barY + 4, 81, 23, btnApplyId),
      pages,
  };
  // Z-order is the keyboard order; it is set explicitly, whatever order creation gave.
  for (const auto& siblings : {std::vector<HWND>(std::begin(page), std::end(page)),
                               std::vector<HWND>(std::begin(dialog), std::end(dialog))}) {
    HWND after = HWND_TOP;
    for (HWND control : siblings) {
      if (!control) continue;
      ::SetWindowLongPtrW(control, GWL_STYLE, ::GetWindowLongPtrW(control, GWL_STYLE) | WS_CLIPSIBLINGS);
      ::SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      after = control;
    }
  }

  HWND spin = Item(seWidgetInvSpinId);
  ::SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(seWidgetInvId)), 0);
  ::SendMessageW(spin, UDM_SETRANGE32, kWidgetInvMin, kWidgetInvMax);
  AddItem(Item(cbbAlignId), L"左");
  AddItem(Item(cbbAlignId), L"右");
}

HWND TFmWidgetSet::Item(int Id) const {
  if (HWND onPage = FSheet ? ::GetDlgItem(FSheet, Id) : nullptr) return onPage;
  return Control(Id);
}

bool TFmWidgetSet::Checked(int Id) const { return ::SendMessageW(Item(Id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::wstring TFmWidgetSet::SkinDir() const { return FSidebar.ProgramDir() + kBackgroundDir; }

void TFmWidgetSet::LoadFromSidebar() {
  const TWinDesk mode = FSidebar.WinDesk();
  const int radio = mode == wdTop ? rbTopId : mode == wdDesk ? rbDeskId : rbNormalId;
  ::CheckRadioButton(FSheet, rbNormalId, rbDeskId, radio);

  HWND monitors = Item(cbbMoniterId);
  ::SendMessageW(monitors, CB_RESETCONTENT, 0, 0);
  const std::vector<std::wstring> items = MonitorItems(static_cast<std::int32_t>(EnumerateMonitors().size()));
  for (const std::wstring& item : items) AddItem(monitors, item);
  ::SendMessageW(monitors, CB_SETCURSEL, static_cast<WPARAM>(MonitorItemIndex(items, FSidebar.Monitor())), 0);

  ::SendMessageW(Item(cbbAlignId), CB_SETCURSEL, static_cast<WPARAM>(FSidebar.SidebarAlign()), 0);

  HWND skins = Item(cbbSidebarId);
  ::SendMessageW(skins, CB_RESETCONTENT, 0, 0);
  FSkins.clear();
  FindFiles(FSkins, SkinDir(), L"*.png", false, nullptr);
  for (const std::wstring& path : FSkins) AddItem(skins, SkinName(path));
  ::SendMessageW(skins, CB_SETCURSEL, static_cast<WPARAM>(SkinItemIndex(FSkins, FSidebar.BaseSkin(), SamePath)), 0);

  const int gap = std::clamp(FSidebar.WidgetInv(), kWidgetInvMin, kWidgetInvMax);
  ::SetWindowTextW(Item(seWidgetInvId), std::to_wstring(gap).c_str());
  ::SendMessageW(Item(chkAutoHideId), BM_SETCHECK, FSidebar.AutoHide() ? BST_CHECKED : BST_UNCHECKED, 0);
  ::SendMessageW(Item(pgcSetId), TCM_SETCURSEL, 0, 0);
}

int TFmWidgetSet::WidgetInv() const { return WidgetInvFromText(WindowText(Item(seWidgetInvId))); }

void TFmWidgetSet::NormaliseWidgetInv() {
  const std::wstring text = std::to_wstring(WidgetInv());
  if (WindowText(Item(seWidgetInvId)) != text) ::SetWindowTextW(Item(seWidgetInvId), text.c_str());
}

void TFmWidgetSet::btnApplyClick() {
  const TWinDesk mode = Checked(rbTopId) ? wdTop : Checked(rbDeskId) ? wdDesk : wdNormal;
  FSidebar.SetWinDesk(mode);

  // No monitor selected: -1, which the bar clamps to monitor 0. No edge selected (a stored
  // edge beyond the two): the bar keeps its own.
  const int monitor = Selected(Item(cbbMoniterId));
  const int edge = Selected(Item(cbbAlignId));
  FSidebar.SetPosition(monitor, edge == 0 ? saLeft : edge == 1 ? saRight : FSidebar.SidebarAlign());

  HWND skins = Item(cbbSidebarId);
  const int skin = Selected(skins);
  FSidebar.SetBaseSkin(SkinToApply(SkinDir(), skin >= 0 ? WindowText(skins) : std::wstring(), skin >= 0,
                                   FSidebar.BaseSkin()));

  NormaliseWidgetInv();
  FSidebar.SetWidgetInv(WidgetInv());
  FSidebar.SetAutoHide(Checked(chkAutoHideId));
}

void TFmWidgetSet::ControlCommand(int Id, int Code, HWND) {
  if (Id == seWidgetInvId && Code == EN_KILLFOCUS) NormaliseWidgetInv();
  if (Code != BN_CLICKED) return;
  if (Id == btnApplyId) btnApplyClick();
  if (Id == btnOkId) SetModalResult(IDOK);
  if (Id == btnCancelId) SetModalResult(IDCANCEL);
}
