// TFmWidgetSet: the modal dialog "侧边栏设置" in which the user changes the bar's own
// settings. It reads them from the bar and hands them back through the bar's setters,
// which take effect at once.
#pragma once

#include <string>
#include <vector>

#include "WidgetSetParent.h"

class TFmOrvoSidebar;

class TFmWidgetSet final : public TFmWidgetSetParent {
 public:
  // Runs the dialog owned by AParHandle over the bar FmOrvoSidebar; true when the user
  // confirmed with "确定" (the settings were then applied once more). "应用" applies at
  // once; a later "取消" keeps what was applied.
  static bool ShowForm(HWND AParHandle);

  // The dialog while it runs (for tests that drive it); null otherwise.
  static TFmWidgetSet* Running();

  enum TControl : int {
    pgcSetId = 101,
    chkAutoHideId,
    grp1Id,
    rbNormalId,
    rbTopId,
    rbDeskId,
    GroupBox1Id,
    lbl1Id,
    cbbMoniterId,
    lbl2Id,
    cbbAlignId,
    lbl3Id,
    cbbSidebarId,
    seWidgetInvId,
    seWidgetInvSpinId,
    lbl4Id,
    btnApplyId,
    btnOkId,
    btnCancelId,
    tsBaseSetId,
  };

  void btnApplyClick();
  // A control of the dialog or of its page, by its id.
  HWND Item(int Id) const;
  bool Checked(int Id) const;

 private:
  TFmWidgetSet(HWND AParHandle, TFmOrvoSidebar& Sidebar);
  void FormCreate() override;
  void ControlCommand(int Id, int Code, HWND Control) override;
  void LoadFromSidebar();
  int WidgetInv() const;
  void NormaliseWidgetInv();
  std::wstring SkinDir() const;

  TFmOrvoSidebar& FSidebar;
  HWND FSheet = nullptr;  // the page "基本设置"
  std::vector<std::wstring> FSkins;  // full paths, in the order of the skin list
};
