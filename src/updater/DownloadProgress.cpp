#include "DownloadProgress.h"

#include <cmath>

TDownloadProgress ComputeProgress(std::uint32_t Announced, std::uint32_t Received, std::uint32_t StartTick,
                                  std::uint32_t NowTick) {
  TDownloadProgress p;
  if (Announced != 0) {
    const auto percent = static_cast<std::uint64_t>(std::llround(static_cast<double>(Received) * 100.0 / Announced));
    p.PercentsDone = static_cast<std::uint8_t>(percent & 0xFF);
  }
  p.ElapsedTime = static_cast<std::uint32_t>(NowTick - StartTick) / 1000;
  // Without a length or before the first byte there is nothing to extrapolate from.
  if (Announced != 0 && Received != 0) {
    const double total = std::round(static_cast<double>(Announced) / Received * p.ElapsedTime);
    if (total > p.ElapsedTime) p.EstimatedTime = static_cast<std::uint32_t>(total - p.ElapsedTime);
  }
  p.TransferRate = static_cast<float>(Received) / 1024.0f;
  if (p.ElapsedTime != 0) p.TransferRate /= static_cast<float>(p.ElapsedTime);
  return p;
}

bool TransferSucceeded(const TTransferResult& Result) {
  if (Result.Status != 200 || !Result.HasOutput || Result.ReadFailed) return false;
  return !Result.HasLength || Result.Received == Result.Announced;
}

std::wstring WithDefaultScheme(std::wstring_view Url) {
  if (Url.find(L"://") != std::wstring_view::npos) return std::wstring(Url);
  return L"http://" + std::wstring(Url);
}

std::wstring InternetStatusText(std::uint32_t Status) {
  switch (Status) {
    case 10: return L"Resolving name";
    case 11: return L"Name resolved";
    case 20: return L"Connecting to server";
    case 21: return L"Connected";
    case 30: return L"Sending Request";
    case 31: return L"Request sent";
    case 40: return L"Receiving response";
    case 41: return L"Response received";
    case 42: return L"CTL Response received";
    case 43: return L"Prefetch";
    case 50: return L"Closing connection";
    case 51: return L"Connection closed";
    case 60: return L"Handle created";
    case 70: return L"Handle closing";
    case 100: return L"Request complete";
    case 110: return L"Redirect";
    case 120: return L"Intermediate response";
    case 200: return L"State change";
    default: return L"Unknown status";
  }
}
