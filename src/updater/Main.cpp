#include "Main.h"

#include <commctrl.h>

#include <vector>

#include "Application.h"
#include "DefineUint.h"
#include "Handles.h"
#include "IniFile.h"
#include "InstallRecovery.h"
#include "MainOptions.h"
#include "NullDaclSecurity.h"
#include "ProgramStart.h"
#include "SignedUpdate.h"
#include "UpdaterTexts.h"
#include "VersionCompare.h"
#include "ZekTools.h"

#ifndef RENEWA_UPDATE_HOST_W
#define RENEWA_UPDATE_HOST_W L"update.kelvara.example"
#endif

namespace {

constexpr wchar_t kClassName[] = L"TFmMain";
constexpr wchar_t kKelvaraMutex[] = L"Global\\Norrel_Mutex_Kelvara";
constexpr wchar_t kKelvaraWindowClass[] = L"TFmKelvaraMain";
constexpr wchar_t kVersionPath[] = L"/File/Update/Update6.txt";
constexpr wchar_t kArchivePath[] = L"/File/Update/Update6.zip";
constexpr UINT_PTR tmrUpdate = 1;
constexpr int kClientWidth = 533;
constexpr int kClientHeight = 327;
constexpr DWORD kCloseWait = 5000;

const TUpdaterTexts& Texts() { return UpdaterTexts(MainOptions ? MainOptions->FLanguage : lgGB2312); }

bool MainApplicationRunning() {
  DWORD error = 0;
  TNullDaclSecurity security;
  const TKernelHandle probe(CreateNamedMutex(security, kKelvaraMutex, error));
  return error == ERROR_ALREADY_EXISTS;
}

// The release notes: every value of [VersionInfo], in the order of the keys in the file.
std::vector<std::wstring> ReleaseNotes(const std::wstring& FileName) {
  std::vector<wchar_t> keys(32768);
  const DWORD n = ::GetPrivateProfileStringW(L"VersionInfo", nullptr, L"", keys.data(),
                                             static_cast<DWORD>(keys.size()), FileName.c_str());
  std::vector<std::wstring> lines;
  const TIniFile ini(FileName);
  for (DWORD at = 0; at < n && keys[at];) {
    const std::wstring key(keys.data() + at);
    lines.push_back(ini.ReadString(L"VersionInfo", key, L""));
    at += static_cast<DWORD>(key.size()) + 1;
  }
  return lines;
}

}  // namespace

TFmMain::TFmMain(bool Hide, std::optional<TUpdatePublicKey> UpdateKey)
    : FDir(GetModuleDir()), FHide(Hide), FUpdateKey(UpdateKey) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
  FWhite = ::CreateSolidBrush(RGB(255, 255, 255));
  // Tahoma has no Chinese glyphs: asking for the GB2312 character set lets the font mapper
  // take a Chinese face where Tahoma cannot draw (as font linking does on Chinese Windows).
  const BYTE charset = MainOptions && MainOptions->FLanguage == lgGB2312 ? GB2312_CHARSET : DEFAULT_CHARSET;
  FFont = ::CreateFontW(-MulDiv(8, 96, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  const RECT frame = CentredFrame(kClientWidth, kClientHeight, style, WS_EX_APPWINDOW);
  if (!CreateHandle(kClassName, Texts().Title, style, WS_EX_APPWINDOW, frame.left, frame.top,
                    frame.right - frame.left, frame.bottom - frame.top, Application.Handle()))
    return;
  FormCreate();
}

TFmMain::~TFmMain() {
  if (Handle()) ::KillTimer(Handle(), tmrUpdate);
  if (FFont) ::DeleteObject(FFont);
  if (FWhite) ::DeleteObject(FWhite);
}

void TFmMain::FormCreate() {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  auto child = [&](const wchar_t* cls, DWORD style, int x, int y, int w, int h, int id) {
    HWND wnd = ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, Handle(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    ::SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), FALSE);
    return wnd;
  };
  lbl1 = child(L"STATIC", SS_LEFT, 0, 0, kClientWidth, 26, 101);
  lblInfo = child(L"STATIC", SS_LEFTNOWORDWRAP, 8, 26, kClientWidth - 16, 16, 102);
  mmoInfo = child(L"EDIT", WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY, 8, 45, 517, 248, 103);
  lblProgress = child(L"STATIC", SS_LEFTNOWORDWRAP, 7, 302, 52, 16, 104);
  pgb1 = child(PROGRESS_CLASSW, 0, 61, 299, 464, 17, 105);
  ::SendMessageW(pgb1, PBM_SETRANGE32, 0, 100);

  ::CreateDirectoryW((FDir + L"Update").c_str(), nullptr);
  FUpdateInfo = false;
  FUpdateFile = false;
  const TUpdaterTexts& texts = Texts();
  Application.SetTitle(texts.Title);
  SetText(Handle(), texts.Title);
  SetText(lbl1, texts.Banner);
  SetText(lblInfo, texts.Detecting);
  SetText(lblProgress, texts.AvailableCaption);

  ahtp1.SetWaitThread(true);
  ahtp1.OnDone = [this](TauHTTP& sender, const std::wstring&, std::uint32_t, TauHTTPStream) { ahtp1Done(sender); };
  ahtp1.OnProgress = [this](TauHTTP&, const std::wstring&, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                            std::uint8_t percent, float, TauHTTPStream) { ahtp1Progress(percent); };
  ahtp1.OnHTTPError = [this](TauHTTP& sender, std::int32_t code, TauHTTPStream) { ahtp1HTTPError(sender, code); };
  // A transfer that fails without a status must not leave a hidden updater behind.
  ahtp1.OnAnyError = [this](TauHTTP&) {
    if (FOutcome == TOutcome::Pending) FOutcome = TOutcome::Failed;
  };
  ahtp1.OnHostUnreachable = [this](TauHTTP&) { FOutcome = TOutcome::Unreachable; };
  ahtp1.OnConnLost = [this](TauHTTP&, const std::wstring&, std::uint32_t, std::uint32_t, TauHTTPStream) {
    FOutcome = TOutcome::ConnLost;
  };

  vclnzp.RecreateDirs = true;
  vclnzp.OverwriteMode = Always;
  vclnzp.DoAll = true;
  vclnzp.ReplaceReadOnly = true;
  vclnzp.OnFilePercentDone = [this](TVCLUnZip&, std::int32_t percent) {
    ::SendMessageW(pgb1, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  };

  ::SetTimer(Handle(), tmrUpdate, 100, nullptr);
}

LRESULT TFmMain::HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_TIMER:
      if (wParam == tmrUpdate) tmrUpdateTimer();
      return 0;
    case WM_CLOSE:
      FormClose();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The session may end as soon as this returns: an installation running now is
      // undone from its journal here, not at the next step of the run.
      if (wParam && vclnzp.FBusy) {
        vclnzp.CancelTheOperation();
        RecoverInstallation(vclnzp.DestDir());
      }
      return 0;
    case WM_DESTROY:
      ::KillTimer(Handle(), tmrUpdate);
      ::PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      FormResize();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {320, 240};
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT client;
      ::GetClientRect(Handle(), &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, FWhite);  // rzpnl1: white, the whole client area
      return 1;
    }
    case WM_CTLCOLORSTATIC:
      ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(FWhite);
    default:
      return TWindow::HandleMessage(Msg, wParam, lParam);
  }
}

void TFmMain::FormResize() {
  if (!mmoInfo) return;
  RECT client;
  ::GetClientRect(Handle(), &client);
  const int w = client.right, h = client.bottom;
  ::MoveWindow(lbl1, 0, 0, w, 26, TRUE);
  ::MoveWindow(lblInfo, 8, 26, w - 16, 16, TRUE);
  ::MoveWindow(mmoInfo, 8, 45, w - 16, h - 45 - (kClientHeight - 293), TRUE);
  ::MoveWindow(lblProgress, 7, h - (kClientHeight - 302), 52, 16, TRUE);
  ::MoveWindow(pgb1, 61, h - (kClientHeight - 299), w - 61 - 8, 17, TRUE);
}

void TFmMain::SetText(HWND Control, const std::wstring& Text) {
  if (Control) ::SetWindowTextW(Control, Text.c_str());
}

int TFmMain::Ask(const wchar_t* Text, UINT Flags) { return ::MessageBoxW(Handle(), Text, Texts().HintCaption, Flags); }

void TFmMain::Close() {
  FClosing = true;
  if (Handle()) ::DestroyWindow(Handle());
}

void TFmMain::FormClose() {
  FClosing = true;
  if (ahtp1.Busy()) ahtp1.Abort();
  if (vclnzp.FBusy) vclnzp.CancelTheOperation();
  Close();
}

void TFmMain::ShowFailure(const wchar_t* Status) {
  if (FClosing) return;
  // Hidden, nobody is waiting for the updater: it ends. Shown, it says what happened.
  if (!::IsWindowVisible(Handle())) {
    Close();
    return;
  }
  SetText(lblInfo, Status);
}

// Nothing was touched: shown, the updater says the update failed; hidden, it just ends.
void TFmMain::RefuseArchive() {
  if (::IsWindowVisible(Handle())) Ask(Texts().FailedRestored, MB_OK | MB_ICONWARNING);
  Close();
}

void TFmMain::tmrUpdateTimer() {
  ::KillTimer(Handle(), tmrUpdate);
  try {
    StartCheck();
  } catch (...) {
    ShowFailure(Texts().StatusHostUnreachable);
  }
}

void TFmMain::StartCheck() {
  if (ahtp1.Busy()) return;
  if (MainOptions && MainOptions->FProxyType == ptIE) {
    std::wstring host;
    std::int32_t port = 0;
    bool enabled = false;
    try {
      enabled = GetSystemProxy(host, port);
    } catch (const ERegistryError&) {
      // No readable proxy setting means no proxy: the platform's own configuration applies.
    }
    if (enabled) {
      ahtp1.Proxy.ProxyServer = host;
      ahtp1.Proxy.ProxyPort = port;
      ahtp1.Proxy.AccessType = atUseProxy;
    }
  } else if (MainOptions && MainOptions->FProxyType == ptOptions) {
    ahtp1.Proxy.ProxyServer = MainOptions->FProxySvr;
    ahtp1.Proxy.ProxyPort = MainOptions->FProxyPort;
    ahtp1.Proxy.AccessType = atUseProxy;
  }
  ahtp1.URL = std::wstring(L"http://") + RENEWA_UPDATE_HOST_W + kVersionPath;
  ahtp1.OutputFileName = FDir + L"Update\\Update.ini";
  FUpdateInfo = true;
  RunTransfer();
}

void TFmMain::StartArchive() {
  FUpdateFile = true;
  ahtp1.URL = std::wstring(L"http://") + RENEWA_UPDATE_HOST_W + kArchivePath;
  ahtp1.OutputFileName = FDir + L"Update\\Update.zip";
  RunTransfer();
}

// Read waits for the transfer and its events; a failure without a status is told here,
// once, after the transfer is over.
void TFmMain::RunTransfer() {
  FOutcome = TOutcome::Pending;
  ahtp1.Read();
  const TOutcome outcome = FOutcome;
  FOutcome = TOutcome::Handled;
  const TUpdaterTexts& texts = Texts();
  switch (outcome) {
    case TOutcome::Unreachable: ShowFailure(texts.StatusHostUnreachable); break;
    case TOutcome::ConnLost: ShowFailure(texts.StatusConnectionLost); break;
    case TOutcome::Failed: ShowFailure(texts.StatusCannotWrite); break;
    default: break;
  }
}

void TFmMain::ahtp1Progress(std::uint8_t PercentsDone) {
  ::SendMessageW(pgb1, PBM_SETPOS, PercentsDone, 0);
  Application.ProcessMessages();
}

void TFmMain::ahtp1HTTPError(TauHTTP& Sender, std::int32_t) {
  FOutcome = TOutcome::Handled;
  Sender.Abort();
  Close();
}

void TFmMain::ahtp1Done(TauHTTP&) {
  FOutcome = TOutcome::Handled;
  if (FClosing) return;
  if (FUpdateInfo)
    VersionReceived();
  else if (FUpdateFile)
    ArchiveReceived();
}

void TFmMain::VersionReceived() {
  const TUpdaterTexts& texts = Texts();
  const std::wstring versionFile = FDir + L"Update\\Update.ini";
  const std::wstring installed = GetFileVersionValue(FDir + L"Kelvara.exe", L"FileVersion");
  const TIniFile ini(versionFile);
  const std::wstring announced = ini.ReadString(L"UpdateInfo", L"Version", L"");
  FAnnounced = announced;
  FSignature = ini.ReadString(L"UpdateInfo", L"Signature", L"");
  if (!UpdateAvailable(installed, announced)) {
    if (!FHide) Ask(texts.UpToDate, MB_OK | MB_ICONINFORMATION);
    Close();
    return;
  }
  std::wstring notes;
  for (const auto& line : ReleaseNotes(versionFile)) notes += line + L"\r\n";
  ::SendMessageW(mmoInfo, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  ::SendMessageW(mmoInfo, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(notes.c_str()));

  SetText(lblProgress, texts.ProgressCaption);
  ::ShowWindow(Handle(), SW_SHOW);
  ::SetForegroundWindow(Handle());
  SetText(lblInfo, texts.ContentCaption);
  ::SendMessageW(pgb1, PBM_SETPOS, 0, 0);
  FUpdateInfo = false;
  if (Ask(texts.UpdateQuestion, MB_YESNO | MB_ICONINFORMATION) == IDYES)
    StartArchive();
  else
    Close();
}

bool TFmMain::CloseMainApplication() {
  while (MainApplicationRunning()) {
    if (Ask(Texts().CloseQuestion, MB_YESNO) != IDYES) return false;
    if (HWND main = ::FindWindowW(kKelvaraWindowClass, nullptr)) {
      DWORD_PTR result = 0;
      // Waits for its handling, but not for ever on a hung program.
      ::SendMessageTimeoutW(main, WM_KELVARA_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
      FClosedMainApplication = true;
    }
    // Up to 5000 ms, and no longer than it takes the program to end.
    for (DWORD waited = 0; waited < kCloseWait && MainApplicationRunning(); waited += 100) ::Sleep(100);
  }
  return true;
}

void TFmMain::StartMainApplication() { StartProgram(FDir + L"Kelvara.exe", SW_SHOWNORMAL, FDir.c_str()); }

void TFmMain::ArchiveReceived() {
  const TUpdaterTexts& texts = Texts();
  FUpdateFile = false;
  SetText(lblProgress, texts.ProgressCaption);
  ::SendMessageW(pgb1, PBM_SETPOS, 0, 0);
  Application.ProcessMessages();
  if (FClosing) return;

  vclnzp.ZipName = FDir + L"Update\\Update.zip";
  vclnzp.SetDestDir(FDir);
  // Checked on every read of the archive, so the bytes installed are the bytes signed.
  if (FUpdateKey) vclnzp.Authenticate = SignatureAuthenticator(*FUpdateKey, FAnnounced, FSignature);
  // The whole archive is checked before the main application is asked to close.
  try {
    vclnzp.Check();
  } catch (const EUnZipError& e) {
    if (e.Failure() == TUnZipFailure::NotAnArchive)
      ShowFailure(texts.StatusBadArchive);
    else
      RefuseArchive();
    return;
  }

  if (!CloseMainApplication()) {
    Ask(texts.Abandoned, MB_OK);
    Close();
    return;
  }

  bool installed = false;
  try {
    vclnzp.UnZip();
    installed = true;
  } catch (const EUnZipError&) {
  }
  if (!FClosing) {
    if (installed)
      Ask(texts.Completed, MB_OK | MB_ICONINFORMATION);
    else
      Ask(texts.FailedRestored, MB_OK | MB_ICONWARNING);
  }
  if (installed || FClosedMainApplication) StartMainApplication();
  Close();
}
