// OrvoWidget.exe: runs the sidebar only beside a running Kelvara, once per machine.
#include <windows.h>

#include "Application.h"
#include "Handles.h"
#include "NullDaclSecurity.h"
#include "ProgramStart.h"
#include "Sidebar.h"
#include "SkinImage.h"
#include "WidgetAdd.h"
#include "WidgetSet.h"
#include "WidgetOptions.h"
#include "ZekTools.h"

namespace {

constexpr wchar_t kKelvaraMutex[] = L"Global\\Norrel_Mutex_Kelvara";
constexpr wchar_t kSidebarMutex[] = L"Global\\Norrel_Mutex_OrvoWidget";

bool KelvaraIsRunning(TNullDaclSecurity& Security) {
  DWORD error = 0;
  // Probe only: the handle is closed at once so the name does not outlive Kelvara.
  const TKernelHandle probe(CreateNamedMutex(Security, kKelvaraMutex, error));
  return error == ERROR_ALREADY_EXISTS;
}


void RunSidebar() {
  Application.SetTitle(L"侧边栏");
  WidgetOptions->Load();
  // The hidden window never stands for the program in the taskbar or Alt+Tab.
  const LONG_PTR exStyle = ::GetWindowLongPtrW(Application.Handle(), GWL_EXSTYLE);
  ::SetWindowLongPtrW(Application.Handle(), GWL_EXSTYLE, (exStyle & ~LONG_PTR{WS_EX_APPWINDOW}) | WS_EX_TOOLWINDOW);
  const TGdiPlusSession gdiplus;
  TFmOrvoSidebar sidebar;
  FmOrvoSidebar = &sidebar;
  sidebar.OnAddWidget = [](HWND Bar) { TFmWidgetAdd::ShowForm(Bar); };
  sidebar.OnWidgetSet = [](HWND Bar) { TFmWidgetSet::ShowForm(Bar); };
  Application.SetMainForm(sidebar.Handle());
  if (sidebar.Handle()) {
    sidebar.Show();
    Application.Run();
  }
  TFmWidgetAdd::FreeInstance();
  Application.SetMainForm(nullptr);
  FmOrvoSidebar = nullptr;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  TNullDaclSecurity security;
  if (!KelvaraIsRunning(security)) {
    StartProgram(GetModuleDir() + L"Kelvara.exe");  // whether it started is not asked
    return 0;
  }

  Application.Initialize();
  DWORD sidebarError = 0;
  TKernelHandle sidebarMutex(CreateNamedMutex(security, kSidebarMutex, sidebarError));
  WidgetOptions = new TWidgetOptions();
  try {
    if (sidebarError == ERROR_ALREADY_EXISTS)
      ::MessageBoxW(Application.Handle(), L"[Kelvara 侧边栏]已经启动，不能再次启动", L"提示", MB_ICONINFORMATION);
    else
      RunSidebar();
  } catch (...) {
    // Whatever left the sidebar, the options are freed unsaved and the mutex closed.
  }
  delete WidgetOptions;
  WidgetOptions = nullptr;
  sidebarMutex.reset();
  Application.Finalize();
  return 0;
}
