// One HTTP GET of a forecast page over WinINet, the whole body as bytes, bounded in size
// and time.
#pragma once

#include <cstdint>
#include <string>

struct TWeatherRequest {
  std::wstring Host;  // the weather service (host or host:port)
  std::wstring Path;  // the request path, already encoded
  bool UseProxy = false;
  std::wstring ProxyHost;
  std::uint16_t ProxyPort = 80;
  std::uint32_t TimeoutMs = 20000;             // connect, send and each receive
  std::uint32_t TotalMs = 60000;               // the whole transfer, however slowly it trickles
  std::size_t MaxBody = std::size_t{4} << 20;  // a bigger page is a failed download
};

// True with Body holding the whole answer when the server answered with a 2xx status;
// false on any failure (no connection, proxy refusal, error status, body too large).
bool DownloadForecastPage(const TWeatherRequest& Request, std::string& Body);
