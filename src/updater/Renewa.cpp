// Renewa.exe: the updater. Once per machine; "Hide" as first argument starts it unseen.
#include <windows.h>

#include "Application.h"
#include "Handles.h"
#include "Main.h"
#include "MainOptions.h"
#include "UpdaterTexts.h"

namespace {

constexpr wchar_t kRenewaMutex[] = L"Global\\Norrel_Mutex_Renewa";

bool FirstArgumentIsHide() {
  int count = 0;
  LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  const bool hide = args && count > 1 && ::CompareStringOrdinal(args[1], -1, L"Hide", -1, TRUE) == CSTR_EQUAL;
  ::LocalFree(args);
  return hide;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int Show) {
  MainOptions = new TMainOptions();
  ::SetLastError(ERROR_SUCCESS);
  TKernelHandle mutex(::CreateMutexW(nullptr, FALSE, kRenewaMutex));
  const bool another = ::GetLastError() == ERROR_ALREADY_EXISTS;
  if (!another) {
    try {
      Application.Initialize();
      Application.SetTitle(UpdaterTexts(MainOptions->FLanguage).Title);
      // The main window stands for the program in the taskbar, not the hidden one.
      const LONG_PTR exStyle = ::GetWindowLongPtrW(Application.Handle(), GWL_EXSTYLE);
      ::SetWindowLongPtrW(Application.Handle(), GWL_EXSTYLE, (exStyle & ~LONG_PTR{WS_EX_APPWINDOW}) | WS_EX_TOOLWINDOW);
      const bool hide = FirstArgumentIsHide();
      TFmMain main(hide);
      if (main.Handle()) {
        if (!hide) ::ShowWindow(main.Handle(), Show == SW_HIDE ? SW_SHOWNORMAL : Show);
        Application.Run();
      }
    } catch (...) {
      // Whatever ended the run, the mutex is released and the options freed.
    }
    Application.Finalize();
  }
  mutex.reset();
  delete MainOptions;
  MainOptions = nullptr;
  return 0;
}
