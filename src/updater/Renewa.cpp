// Renewa.exe: the updater. Once per machine; "Hide" as first argument starts it unseen.
#include <windows.h>

#include <optional>
#include <string>

#include "Application.h"
#include "Handles.h"
#include "InstallRecovery.h"
#include "Main.h"
#include "MainOptions.h"
#include "UpdateSignature.h"
#include "UpdaterTexts.h"
#include "ZekTools.h"

namespace {

constexpr wchar_t kRenewaMutex[] = L"Global\\Norrel_Mutex_Renewa";

bool FirstArgumentIsHide() {
  int count = 0;
  LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  const bool hide = args && count > 1 && ::CompareStringOrdinal(args[1], -1, L"Hide", -1, TRUE) == CSTR_EQUAL;
  ::LocalFree(args);
  return hide;
}

// A build configured with a key trusts only archives signed by it; one without trusts the
// network it downloads from.
std::optional<TUpdatePublicKey> UpdateKey() {
#ifdef RENEWA_UPDATE_PUBLIC_KEY
  // The build checked the text; should it still not parse, a key that matches nothing
  // refuses every archive rather than trusting any.
  return ParseUpdatePublicKey(RENEWA_UPDATE_PUBLIC_KEY).value_or(TUpdatePublicKey{});
#else
  return std::nullopt;
#endif
}

#ifdef RENEWA_FAULT_INJECTION
// Test build only (RenewaFault.exe, never installed): RENEWA_FAULT=kill:K ends the process
// dead once K files are replaced; pause:K waits there (up to 15 s, messages pumped) until
// the installation's journal is gone, for a session end to arrive meanwhile.
void InjectFault(TVCLUnZip& UnZip) {
  wchar_t value[64] = {};
  if (!::GetEnvironmentVariableW(L"RENEWA_FAULT", value, 64)) return;
  const std::wstring fault = value;
  const std::size_t colon = fault.find(L':');
  if (colon == std::wstring::npos) return;
  const std::wstring mode = fault.substr(0, colon);
  const std::size_t at = static_cast<std::size_t>(_wtoi(fault.c_str() + colon + 1));
  UnZip.OnPlaced = [&UnZip, mode, at](std::size_t Placed) {
    if (Placed != at) return;
    if (mode == L"kill") ::TerminateProcess(::GetCurrentProcess(), 77);
    if (mode != L"pause") return;
    const std::wstring journal = JournalPath(UnZip.DestDir());
    for (int waited = 0; waited < 15000 && ::GetFileAttributesW(journal.c_str()) != INVALID_FILE_ATTRIBUTES; waited += 20) {
      MSG msg;
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      ::Sleep(20);
    }
  };
}
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int Show) {
  MainOptions = new TMainOptions();
  ::SetLastError(ERROR_SUCCESS);
  TKernelHandle mutex(::CreateMutexW(nullptr, FALSE, kRenewaMutex));
  const bool another = ::GetLastError() == ERROR_ALREADY_EXISTS;
  std::wstring dir = GetModuleDir();
  dir.pop_back();
  // A run stopped midway is undone (or finished) before anything else; while it cannot be,
  // nothing is read, shown or installed, and the next start tries again.
  if (!another && RecoverInstallation(dir) != TRecovery::Failed) {
    try {
      Application.Initialize();
      Application.SetTitle(UpdaterTexts(MainOptions->FLanguage).Title);
      // The main window stands for the program in the taskbar, not the hidden one.
      const LONG_PTR exStyle = ::GetWindowLongPtrW(Application.Handle(), GWL_EXSTYLE);
      ::SetWindowLongPtrW(Application.Handle(), GWL_EXSTYLE, (exStyle & ~LONG_PTR{WS_EX_APPWINDOW}) | WS_EX_TOOLWINDOW);
      const bool hide = FirstArgumentIsHide();
      TFmMain main(hide, UpdateKey());
#ifdef RENEWA_FAULT_INJECTION
      InjectFault(main.vclnzp);
#endif
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
