// TFmOrvoSidebar: the sidebar's main window, a 150-pixel bar at a monitor edge.
#pragma once

#include <cstdint>
#include <string>

#include "DefineUint.h"
#include "Window.h"

class TFmOrvoSidebar final : public TWindow {
 public:
  // Creates the window owned by the application window, from the loaded options.
  TFmOrvoSidebar();

  // Copies the bar's state into the options object and saves it.
  void SaveSidebarSet();

 protected:
  LRESULT HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormCreate();
  void LoadSidebarSet();
  void FormPaint();

  std::int32_t FMonitor = -1;
  TSidebarAlign FSidebarAlign = saRight;
  std::wstring FBaseSkin;
  std::int32_t FWidgetInv = 10;
  bool FAutoHide = false;
  TWinDesk FWinDesk = wdNormal;
};

extern TFmOrvoSidebar* FmOrvoSidebar;
