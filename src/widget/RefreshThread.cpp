#include "RefreshThread.h"

#include <stdexcept>
#include <thread>

#include "CityCode.h"
#include "DefineUint.h"
#include "Handles.h"
#include "ProfileValue.h"
#include "TextDecoding.h"
#include "WeatherDownload.h"
#include "WeatherPage.h"

namespace {

// Far beyond any real city list; a bigger file is not read into memory.
constexpr LONGLONG kMaxCityFile = 16LL << 20;

std::wstring AnsiToText(std::string_view Bytes) {
  if (Bytes.empty()) return {};
  const int size = static_cast<int>(Bytes.size());
  const int length = ::MultiByteToWideChar(CP_ACP, 0, Bytes.data(), size, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) ::MultiByteToWideChar(CP_ACP, 0, Bytes.data(), size, text.data(), length);
  return text;
}

std::string ReadWholeFile(const std::wstring& Path) {
  const TKernelHandle file(::CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) throw std::runtime_error("city code file cannot be opened");
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxCityFile)
    throw std::runtime_error("city code file cannot be read");
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!bytes.empty() && (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                         got != bytes.size()))
    throw std::runtime_error("city code file cannot be read");
  return bytes;
}

// The worker's body: touches nothing but its job until the hand-over.
void RefreshBody(const std::shared_ptr<TRefreshJob>& Job) {
  TRefreshJob& job = *Job;
  job.IsValue = false;
  try {
    TWeatherRequest request;
    request.Host = job.ServiceHost;
    request.Path = ForecastPath(GetCityCode(job.CityCodeFile, job.City));
    request.UseProxy = job.UseProxy;
    request.ProxyHost = job.ProxyHost;
    request.ProxyPort = job.ProxyPort;
    std::string body;
    if (DownloadForecastPage(request, body)) {
      const std::wstring text = RejoinLines(DecodeUtf8(body));
      body.clear();
      job.IsValue = ParseWeather(text, job.Forecast);
    }
  } catch (...) {
    job.IsValue = false;  // an unreadable city file, no memory: a failed attempt
  }
  // A window that is gone (or going) gets nothing; the window also checks that the job is
  // still its own before it reads it.
  if (const HWND window = job.Window.load())
    ::SendMessageW(window, WM_GETWEATHER, 0, reinterpret_cast<LPARAM>(Job.get()));
}

}  // namespace

std::wstring GetCityCode(const std::wstring& ACityCodeFile, const std::wstring& ACity) {
  const DWORD attributes = ::GetFileAttributesW(ACityCodeFile.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  return FindCityCode(DecodeTextFile(ReadWholeFile(ACityCodeFile), &AnsiToText), ACity);
}

std::wstring ForecastPath(const std::wstring& ACode) {
  std::wstring path = L"/html/weather/";
  const int size = static_cast<int>(ACode.size());
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, ACode.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) ::WideCharToMultiByte(CP_UTF8, 0, ACode.data(), size, utf8.data(), length, nullptr, nullptr);
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  for (const unsigned char c : utf8) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
                       c == '.' || c == '_' || c == '~';
    if (plain) {
      path += static_cast<wchar_t>(c);
    } else {
      path += L'%';
      path += kHex[c >> 4];
      path += kHex[c & 15];
    }
  }
  return path + L".shtml";
}

namespace TRefreshThread {

bool AskProxy(ISidebar* Sidebar, std::wstring& Host, std::uint16_t& Port) {
  if (!Sidebar) return false;
  BSTR host = nullptr, port = nullptr;
  const bool useProxy = Sidebar->GetProxy(&host, &port) != 0;
  Host = host ? std::wstring(host, ::SysStringLen(host)) : std::wstring();
  const std::wstring portText = port ? std::wstring(port, ::SysStringLen(port)) : std::wstring();
  ::SysFreeString(host);
  ::SysFreeString(port);
  const std::int32_t value = ProfileInteger(portText, 80);
  Port = static_cast<std::uint16_t>(value >= 0 && value <= 65535 ? value : 80);
  return useProxy;
}

bool Start(const std::shared_ptr<TRefreshJob>& Job) {
  try {
    std::thread(RefreshBody, Job).detach();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace TRefreshThread
