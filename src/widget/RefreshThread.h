// TRefreshThread: one forecast download on a worker thread. The worker and the window
// share only the job; the window detaches it when it goes, so a late worker never touches
// a window that is gone and its result is dropped.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "WeatherForecast.h"
#include "WidgetInterface.h"

struct TRefreshJob {
  // Set on the user-interface thread before the worker starts.
  std::wstring City;
  std::wstring CityCodeFile;  // the library directory + "CityCode.txt"
  std::wstring ServiceHost;
  bool UseProxy = false;
  std::wstring ProxyHost;
  std::uint16_t ProxyPort = 80;
  // The window's forecast at the start; the parse overwrites what the page holds.
  TWeatherForecast Forecast;

  // Written by the worker before it hands over.
  bool IsValue = false;

  // The window to hand over to; 0 once the window is gone.
  std::atomic<HWND> Window{nullptr};
};

// The code of ACity in the city file; empty when the file or the city is missing.
// Raises when the file exists but cannot be read (or is unreasonably large).
std::wstring GetCityCode(const std::wstring& ACityCodeFile, const std::wstring& ACity);

// The path of a city's forecast page: "/html/weather/" + code + ".shtml", the code
// percent-encoded so any text of the city file makes a valid request.
std::wstring ForecastPath(const std::wstring& ACode);

namespace TRefreshThread {

// The proxy the bar reports, asked now (on the calling thread): true with host and port
// when requests go through a proxy; a port that is not a number gives 80.
bool AskProxy(ISidebar* Sidebar, std::wstring& Host, std::uint16_t& Port);

// Starts the worker for Job: it downloads and parses the page, then sends WM_GETWEATHER
// (lParam: the job) to Job->Window unless that was cleared. False when no thread could start.
bool Start(const std::shared_ptr<TRefreshJob>& Job);

}  // namespace TRefreshThread
