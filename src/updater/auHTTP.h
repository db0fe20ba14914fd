// TauHTTP: one HTTP GET at a time on a worker thread of its own, over WinINet, into a
// file or memory; every event runs on the user-interface thread while the worker waits.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "auThread.h"

enum TauHTTPAccessType : std::uint8_t { atPreconfig = 0, atDirect = 1, atUseProxy = 2 };

struct TauHTTPProxy {
  TauHTTPAccessType AccessType = atPreconfig;
  std::int32_t ProxyPort = 8080;
  std::wstring ProxyServer;
  std::wstring ProxyBypass = L"127.0.0.1;";
};

struct TauHTTPTimeouts {
  DWORD ConnectTimeout = 0;  // milliseconds; 0: the platform's default
  DWORD ReceiveTimeout = 0;
  DWORD SendTimeout = 0;
};

class TauHTTP;

// The body received in memory; null when it went to a file.
using TauHTTPStream = const std::string*;

using TauHTTPNotify = std::function<void(TauHTTP& Sender)>;
using TauHTTPDone = std::function<void(TauHTTP& Sender, const std::wstring& ContentType, std::uint32_t FileSize,
                                       TauHTTPStream Stream)>;
using TauHTTPProgress = std::function<void(TauHTTP& Sender, const std::wstring& ContentType, std::uint32_t DataSize,
                                           std::uint32_t BytesRead, std::uint32_t ElapsedTime,
                                           std::uint32_t EstimatedTimeLeft, std::uint8_t PercentsDone,
                                           float TransferRate, TauHTTPStream Stream)>;
using TauHTTPError = std::function<void(TauHTTP& Sender, std::int32_t ErrorCode, TauHTTPStream Stream)>;
using TauHTTPConnLost = std::function<void(TauHTTP& Sender, const std::wstring& ContentType, std::uint32_t FileSize,
                                           std::uint32_t BytesRead, TauHTTPStream Stream)>;
using TauHTTPStatus = std::function<void(TauHTTP& Sender, DWORD Status, const std::wstring& Text)>;

class TauHTTP {
 public:
  TauHTTP();
  TauHTTP(const TauHTTP&) = delete;
  TauHTTP& operator=(const TauHTTP&) = delete;
  ~TauHTTP();

  // Starts a GET of URL; false at once while a transfer runs. With WaitThread it returns
  // when the transfer and its events are over (true), or false when WaitTimeout ran out.
  bool Read();
  // Stops a running transfer (OnAborted); inside a completion event it only lets go of
  // the output, so a received error body stays on disk.
  void Abort();
  // True while the worker runs the transfer; false again before the completion events.
  bool Busy() const { return FThread.Running(); }

  void SetWaitThread(bool Value) { FThread.FWaitThread = Value; }
  bool WaitThread() const { return FThread.FWaitThread; }
  void SetWaitTimeout(DWORD Value) { FThread.FWaitTimeout = Value; }
  void SetThreadPriority(TauThreadPriority Value) { FThread.SetPriority(Value); }

  std::wstring URL;
  std::wstring OutputFileName;
  std::wstring Agent = L"TauHTTP component (Renewa)";
  std::wstring AcceptTypes = L"text/html, */*";
  std::wstring Referer;
  std::wstring Username;
  std::wstring Password;
  TauHTTPProxy Proxy;
  TauHTTPTimeouts Timeouts;
  bool UseCache = true;
  bool UseCookies = true;
  bool WorkOffline = false;
  std::uint32_t TransferBufferSize = 4096;  // 255 .. 2147483647

  TauHTTPDone OnDone;
  TauHTTPProgress OnProgress;
  TauHTTPError OnHTTPError;
  TauHTTPNotify OnHostUnreachable;
  TauHTTPConnLost OnConnLost;
  TauHTTPNotify OnAnyError;
  TauHTTPNotify OnAborted;
  TauHTTPNotify OnWaitTimeoutExpired;
  TauHTTPNotify OnDoneInterrupted;
  TauHTTPStatus OnStatusChanged;

  struct TTransfer;

 private:
  void TransferBody(TauEventThread& Thread);
  void Completion(TauEventThread& Thread);
  void ProgressStep(TTransfer& Transfer);

  TauCustomThread FThread;
  std::shared_ptr<TTransfer> FTransfer;  // the latest transfer
  bool FDestroying = false;
};
