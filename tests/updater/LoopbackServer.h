// A small HTTP server on 127.0.0.1 inside the test process, for the download's tests.
// Each route answers with raw bytes, so broken answers can be made on purpose.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TLoopbackRoute {
  std::string Head;  // status line and headers, without the blank line
  std::string Body;
  DWORD DelayMs = 0;  // before the answer
};

class TLoopbackServer {
 public:
  TLoopbackServer();
  TLoopbackServer(const TLoopbackServer&) = delete;
  TLoopbackServer& operator=(const TLoopbackServer&) = delete;
  ~TLoopbackServer();

  unsigned short Port() const { return FPort; }
  void Route(const std::string& Path, TLoopbackRoute Answer);
  // Request targets as received (absolute URIs when reached as a proxy).
  std::vector<std::string> Requests();

  // A port on which nobody listens.
  static unsigned short ClosedPort();

 private:
  void Serve();
  SOCKET FListen = INVALID_SOCKET;
  unsigned short FPort = 0;
  std::atomic<bool> FStop{false};
  std::mutex FLock;
  std::map<std::string, TLoopbackRoute> FRoutes;
  std::vector<std::string> FRequests;
  std::thread FThread;
};

std::string Ok(const std::string& Body, const std::string& Type = "application/octet-stream");
