#include "auHTTP.h"

#include <wininet.h>

#include <atomic>
#include <vector>

#include "DownloadProgress.h"
#include "ProfileValue.h"

// One transfer's state. The worker owns it while the body runs; the completion step (on
// the user-interface thread, the worker waiting) owns it afterwards. An abandoned worker
// keeps it alive on its own until it ends.
struct TauHTTP::TTransfer {
  // Settings, copied when the transfer starts.
  TauHTTP* Component = nullptr;
  std::wstring URL, OutputFileName, Agent, AcceptTypes, Referer, Username, Password;
  TauHTTPProxy Proxy;
  TauHTTPTimeouts Timeouts;
  bool UseCache = true, UseCookies = true, WorkOffline = false, WantsProgress = false;
  std::uint32_t BufferSize = 4096;

  // Results.
  std::int32_t HTTPErrorCode = -1;
  bool HTTPSuccess = false;
  bool HTTPContinueDownload = true;
  std::wstring HTTPContentType;
  std::uint32_t HTTPFileSize = 0;
  bool HasLength = false;
  std::uint32_t HTTPBytesTransferred = 0;
  std::uint32_t HTTPStartTime = 0;
  bool ReadFailed = false;
  TDownloadProgress Progress;

  std::atomic<HINTERNET> hSession{nullptr}, hConnect{nullptr}, hRequest{nullptr};
  std::atomic<HANDLE> hOutput{INVALID_HANDLE_VALUE};
  bool ToFile = false;     // the body goes to OutputFileName
  bool HasStream = false;  // an output exists and has not been let go
  std::string Memory;

  void CloseInternet() {
    for (auto* h : {&hRequest, &hConnect, &hSession})
      if (HINTERNET handle = h->exchange(nullptr)) ::InternetCloseHandle(handle);
  }
  void CloseOutput() {
    const HANDLE file = hOutput.exchange(INVALID_HANDLE_VALUE);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  }
  ~TTransfer() {
    CloseInternet();
    CloseOutput();
  }
};

namespace {

void CALLBACK StatusCallback(HINTERNET, DWORD_PTR Context, DWORD Status, LPVOID, DWORD) {
  // Only the connection carries a context; the handler, if any, is the component's.
  if (Context == 0) return;
  auto* transfer = reinterpret_cast<TauHTTP::TTransfer*>(Context);
  (void)transfer;
  (void)Status;
}

std::wstring QueryText(HINTERNET Request, DWORD Info, bool& Found) {
  wchar_t buffer[2048] = {};  // 4096 bytes
  DWORD size = sizeof(buffer);
  DWORD index = 0;
  Found = ::HttpQueryInfoW(Request, Info, buffer, &size, &index) != FALSE;
  return Found ? std::wstring(buffer, size / sizeof(wchar_t)) : std::wstring();
}

// The transfer body, on the worker. Touches nothing but its transfer.
void RunTransfer(TauHTTP::TTransfer& t, TauEventThread& Thread, const std::function<void()>& Progress) {
  t.HTTPErrorCode = -1;
  t.HTTPContentType.clear();
  t.HTTPStartTime = ::GetTickCount();
  t.HTTPContinueDownload = true;

  std::wstring url = WithDefaultScheme(t.URL);
  wchar_t scheme[33] = {}, host[257] = {}, user[129] = {}, password[129] = {}, path[2049] = {}, extra[2049] = {};
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof(parts);
  parts.lpszScheme = scheme;
  parts.dwSchemeLength = 33;
  parts.lpszHostName = host;
  parts.dwHostNameLength = 257;
  parts.lpszUserName = user;
  parts.dwUserNameLength = 129;
  parts.lpszPassword = password;
  parts.dwPasswordLength = 129;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = 2049;
  parts.lpszExtraInfo = extra;
  parts.dwExtraInfoLength = 2049;
  if (!::InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), ICU_ESCAPE, &parts)) return;
  const std::wstring userName = user[0] ? std::wstring(user) : t.Username;
  const std::wstring userPassword = password[0] ? std::wstring(password) : t.Password;

  DWORD access = INTERNET_OPEN_TYPE_PRECONFIG;
  std::wstring proxyList, bypass;
  if (t.Proxy.AccessType == atDirect) access = INTERNET_OPEN_TYPE_DIRECT;
  if (t.Proxy.AccessType == atUseProxy) {
    access = INTERNET_OPEN_TYPE_PROXY;
    proxyList = t.Proxy.ProxyServer + L":" + std::to_wstring(t.Proxy.ProxyPort);
    bypass = t.Proxy.ProxyBypass;
  }
  t.hSession = ::InternetOpenW(t.Agent.c_str(), access, proxyList.empty() ? nullptr : proxyList.c_str(),
                               bypass.empty() ? nullptr : bypass.c_str(), t.WorkOffline ? INTERNET_FLAG_OFFLINE : 0);
  if (!t.hSession || Thread.Terminated()) return;
  ::InternetSetStatusCallbackW(t.hSession, &StatusCallback);
  t.hConnect = ::InternetConnectW(t.hSession, host, parts.nPort, userName.empty() ? nullptr : userName.c_str(),
                                  userPassword.empty() ? nullptr : userPassword.c_str(), INTERNET_SERVICE_HTTP, 0,
                                  reinterpret_cast<DWORD_PTR>(&t));
  if (!t.hConnect || Thread.Terminated()) return;

  DWORD flags = 0;
  if (_wcsicmp(scheme, L"https") == 0) flags |= INTERNET_FLAG_SECURE;
  if (!t.UseCache) flags |= INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
  if (!t.UseCookies) flags |= INTERNET_FLAG_NO_COOKIES;
  const std::wstring object = std::wstring(path) + extra;
  const wchar_t* accept[] = {t.AcceptTypes.c_str(), nullptr};
  t.hRequest = ::HttpOpenRequestW(t.hConnect, L"GET", object.c_str(), nullptr,
                                  t.Referer.empty() ? nullptr : t.Referer.c_str(), accept, flags, 0);
  if (!t.hRequest || Thread.Terminated()) return;
  const std::pair<DWORD, DWORD> timeouts[] = {{INTERNET_OPTION_CONNECT_TIMEOUT, t.Timeouts.ConnectTimeout},
                                              {INTERNET_OPTION_RECEIVE_TIMEOUT, t.Timeouts.ReceiveTimeout},
                                              {INTERNET_OPTION_SEND_TIMEOUT, t.Timeouts.SendTimeout}};
  for (auto [option, value] : timeouts)
    if (value != 0) ::InternetSetOptionW(t.hRequest, option, &value, sizeof(value));
  if (!::HttpSendRequestW(t.hRequest, nullptr, 0, nullptr, 0) || Thread.Terminated()) return;

  bool found = false;
  const std::wstring status = QueryText(t.hRequest, HTTP_QUERY_STATUS_CODE, found);
  if (found) t.HTTPErrorCode = ProfileInteger(status, 0);
  t.HTTPContentType = QueryText(t.hRequest, HTTP_QUERY_CONTENT_TYPE, found);
  const std::wstring length = QueryText(t.hRequest, HTTP_QUERY_CONTENT_LENGTH, found);
  t.HasLength = found;
  t.HTTPFileSize = found ? static_cast<std::uint32_t>(ProfileInteger(length, 0)) : 0;

  // A named output file takes the body whether or not a length came, so what a caller
  // reads afterwards is what was received (never an older copy).
  if (!t.OutputFileName.empty()) {
    ::DeleteFileW(t.OutputFileName.c_str());
    const HANDLE file = ::CreateFileW(t.OutputFileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    t.hOutput = file;
    t.ToFile = true;
  } else if (t.HTTPFileSize) {
    t.Memory.reserve(t.HTTPFileSize);
  }
  t.HasStream = true;

  t.HTTPBytesTransferred = 0;
  std::vector<char> buffer(t.BufferSize < 255 ? 255 : t.BufferSize);
  while (!Thread.Terminated()) {
    DWORD read = 0;
    const HINTERNET request = t.hRequest;
    if (!request || !::InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &read)) {
      t.ReadFailed = true;
      break;
    }
    if (read == 0) break;
    if (t.ToFile) {
      DWORD written = 0;
      if (!::WriteFile(t.hOutput, buffer.data(), read, &written, nullptr) || written != read) {
        t.ReadFailed = true;
        break;
      }
    } else {
      t.Memory.append(buffer.data(), read);
    }
    t.HTTPBytesTransferred += read;
    if (t.WantsProgress) Thread.Synchronize(Progress);
  }
  if (Thread.Terminated()) t.ReadFailed = true;
  t.HTTPSuccess = TransferSucceeded(
      {t.HTTPErrorCode, t.HTTPFileSize, t.HasLength, t.HTTPBytesTransferred, t.HasStream, t.ReadFailed});
}

}  // namespace

TauHTTP::TauHTTP() {
  FThread.SetOnExecute([](TauEventThread& thread) {
    auto transfer = std::static_pointer_cast<TTransfer>(thread.Context);
    if (!transfer) return;
    TTransfer* t = transfer.get();
    RunTransfer(*t, thread, [t] { t->Component->ProgressStep(*t); });
  });
  FThread.SetOnTerminate([this](TauEventThread& thread) { Completion(thread); });
  FThread.SetOnException([this](TauEventThread&) {
    if (OnAnyError) OnAnyError(*this);
  });
  // A replaced transfer's blocking calls return at once once its handles are closed.
  FThread.SetOnAbandon([](TauEventThread& thread) {
    if (auto transfer = std::static_pointer_cast<TTransfer>(thread.Context)) transfer->CloseInternet();
  });
  FThread.FOnWaitTimeoutExpired = [this] {
    if (FTransfer) FTransfer->CloseInternet();
    if (OnWaitTimeoutExpired) OnWaitTimeoutExpired(*this);
  };
}

TauHTTP::~TauHTTP() {
  FDestroying = true;
  FThread.OwnerDestroying();
  Abort();
}

bool TauHTTP::Read() {
  if (Busy()) return false;
  auto t = std::make_shared<TTransfer>();
  t->Component = this;
  t->URL = URL;
  t->OutputFileName = OutputFileName;
  t->Agent = Agent;
  t->AcceptTypes = AcceptTypes;
  t->Referer = Referer;
  t->Username = Username;
  t->Password = Password;
  t->Proxy = Proxy;
  t->Timeouts = Timeouts;
  t->UseCache = UseCache;
  t->UseCookies = UseCookies;
  t->WorkOffline = WorkOffline;
  t->WantsProgress = static_cast<bool>(OnProgress);
  t->BufferSize = TransferBufferSize;
  FTransfer = t;
  FThread.FNextContext = t;
  return FThread.Execute();
}

void TauHTTP::ProgressStep(TTransfer& t) {
  t.Progress = ComputeProgress(t.HTTPFileSize, t.HTTPBytesTransferred, t.HTTPStartTime, ::GetTickCount());
  if (OnProgress)
    OnProgress(*this, t.HTTPContentType, t.HTTPFileSize, t.HTTPBytesTransferred, t.Progress.ElapsedTime,
               t.Progress.EstimatedTime, t.Progress.PercentsDone, t.Progress.TransferRate,
               t.ToFile ? nullptr : &t.Memory);
}

void TauHTTP::Completion(TauEventThread& Thread) {
  // Held here: a handler may start the next transfer, which replaces FTransfer.
  const auto transfer = std::static_pointer_cast<TTransfer>(Thread.Context);
  if (!transfer) return;
  TTransfer& t = *transfer;
  t.CloseInternet();
  bool failedWithFile = false;
  if (t.HTTPContinueDownload) {
    if (t.HTTPSuccess) {
      if (!t.HasStream) {
        if (OnAnyError) OnAnyError(*this);
      } else {
        if (t.ToFile) t.CloseOutput();
        if (OnDone) OnDone(*this, t.HTTPContentType, t.HTTPBytesTransferred, t.ToFile ? nullptr : &t.Memory);
      }
    } else {
      if (OnAnyError) OnAnyError(*this);
      const TauHTTPStream stream = t.HasStream && !t.ToFile ? &t.Memory : nullptr;
      if (t.HTTPErrorCode == -1) {
        if (OnHostUnreachable) OnHostUnreachable(*this);
      } else if (!t.HasStream) {
        // The output could not be created: OnAnyError says it all.
      } else if (t.HTTPErrorCode != 200) {
        if (OnHTTPError) OnHTTPError(*this, t.HTTPErrorCode, stream);
      } else {
        if (OnConnLost) OnConnLost(*this, t.HTTPContentType, t.HTTPFileSize, t.HTTPBytesTransferred, stream);
      }
      failedWithFile = t.HasStream && t.ToFile;  // a handler's Abort lets go of it
    }
  }
  t.CloseOutput();
  if (failedWithFile && t.HasStream) ::DeleteFileW(t.OutputFileName.c_str());
  t.HasStream = false;
  t.Memory.clear();
  if (!t.HTTPContinueDownload && OnDoneInterrupted) OnDoneInterrupted(*this);
}

void TauHTTP::Abort() {
  if (!FTransfer) return;
  FTransfer->CloseInternet();
  if (Busy()) {
    // The worker still writes its output; it closes it when it ends.
    FThread.Terminate(true);
    if (!FDestroying && OnAborted) OnAborted(*this);
  } else {
    FTransfer->CloseOutput();
    FTransfer->HasStream = false;
  }
}
