#include "WeatherDownload.h"

#include <windows.h>

#include <wininet.h>

#include <memory>

namespace {

struct TInternetClose {
  void operator()(HINTERNET Handle) const { ::InternetCloseHandle(Handle); }
};
using TInternetHandle = std::unique_ptr<void, TInternetClose>;

void SetTimeouts(HINTERNET Handle, DWORD Milliseconds) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
    ::InternetSetOptionW(Handle, option, &Milliseconds, sizeof(Milliseconds));
}

// "host" or "host:port" of the service.
void SplitHost(const std::wstring& Text, std::wstring& Host, INTERNET_PORT& Port) {
  Host = Text;
  Port = INTERNET_DEFAULT_HTTP_PORT;
  const auto colon = Text.rfind(L':');
  if (colon == std::wstring::npos) return;
  const std::wstring digits = Text.substr(colon + 1);
  if (digits.empty() || digits.size() > 5 || digits.find_first_not_of(L"0123456789") != std::wstring::npos) return;
  const unsigned long value = std::wcstoul(digits.c_str(), nullptr, 10);
  if (value == 0 || value > 65535) return;
  Host = Text.substr(0, colon);
  Port = static_cast<INTERNET_PORT>(value);
}

}  // namespace

bool DownloadForecastPage(const TWeatherRequest& Request, std::string& Body) {
  Body.clear();
  const std::wstring proxy = Request.ProxyHost + L":" + std::to_wstring(Request.ProxyPort);
  TInternetHandle session(::InternetOpenW(L"Mozilla/4.0 (compatible; Kelvara weather widget)",
                                          Request.UseProxy ? INTERNET_OPEN_TYPE_PROXY : INTERNET_OPEN_TYPE_DIRECT,
                                          Request.UseProxy ? proxy.c_str() : nullptr, nullptr, 0));
  if (!session) return false;
  SetTimeouts(session.get(), Request.TimeoutMs);

  std::wstring host;
  INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
  SplitHost(Request.Host, host, port);
  TInternetHandle connection(
      ::InternetConnectW(session.get(), host.c_str(), port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return false;
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES |
                      INTERNET_FLAG_NO_UI | INTERNET_FLAG_PRAGMA_NOCACHE;
  TInternetHandle request(
      ::HttpOpenRequestW(connection.get(), L"GET", Request.Path.c_str(), nullptr, nullptr, nullptr, flags, 0));
  if (!request) return false;
  SetTimeouts(request.get(), Request.TimeoutMs);
  if (!::HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0)) return false;

  DWORD status = 0, size = sizeof(status);
  if (!::HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
    return false;
  if (status < 200 || status > 299) return false;

  const ULONGLONG deadline = ::GetTickCount64() + Request.TotalMs;
  char buffer[16384];
  for (;;) {
    if (::GetTickCount64() > deadline) {
      Body.clear();
      return false;
    }
    DWORD got = 0;
    if (!::InternetReadFile(request.get(), buffer, sizeof(buffer), &got)) return false;
    if (got == 0) return true;
    if (Body.size() + got > Request.MaxBody) {
      Body.clear();
      return false;
    }
    Body.append(buffer, got);
  }
}
