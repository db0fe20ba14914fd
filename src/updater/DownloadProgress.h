// The download's arithmetic and decisions, apart from the sockets: progress figures,
// whether a transfer succeeded, and the URL a bare host name stands for.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct TDownloadProgress {
  std::uint8_t PercentsDone = 0;      // 0 while the length is unknown
  std::uint32_t ElapsedTime = 0;      // whole seconds since the transfer began
  std::uint32_t EstimatedTime = 0;    // seconds still to go; 0 when it cannot be told
  float TransferRate = 0;             // kilobytes per second (kilobytes in the first second)
};

// Received of Announced bytes, StartTick and NowTick in milliseconds (wrapping 32-bit ticks).
TDownloadProgress ComputeProgress(std::uint32_t Announced, std::uint32_t Received, std::uint32_t StartTick,
                                  std::uint32_t NowTick);

struct TTransferResult {
  std::int32_t Status = -1;       // HTTP status; -1 when none was obtained
  std::uint32_t Announced = 0;    // Content-Length, 0 when absent
  bool HasLength = false;         // a Content-Length header came
  std::uint32_t Received = 0;
  bool HasOutput = false;         // an output (file or memory) took the body
  bool ReadFailed = false;        // a read ended with an error rather than the end of the body
};

// Status 200, an output that took the body, the body read to its end, and as many bytes
// as announced (when a length was announced).
bool TransferSucceeded(const TTransferResult& Result);

// "http://" in front of a URL that names no scheme.
std::wstring WithDefaultScheme(std::wstring_view Url);

// The text of a WinINet status code, for a status handler.
std::wstring InternetStatusText(std::uint32_t Status);
