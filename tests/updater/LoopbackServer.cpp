#include "LoopbackServer.h"

#include <ws2tcpip.h>

namespace {

struct TWinsock {
  TWinsock() {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
  }
};

SOCKET Bound(unsigned short& Port) {
  static TWinsock winsock;
  SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  int length = sizeof(address);
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  Port = ntohs(address.sin_port);
  return s;
}

}  // namespace

std::string Ok(const std::string& Body, const std::string& Type) {
  return "HTTP/1.1 200 OK\r\nContent-Type: " + Type + "\r\nContent-Length: " + std::to_string(Body.size());
}

TLoopbackServer::TLoopbackServer() {
  FListen = Bound(FPort);
  ::listen(FListen, 8);
  FThread = std::thread([this] { Serve(); });
}

TLoopbackServer::~TLoopbackServer() {
  FStop = true;
  ::closesocket(FListen);
  FThread.join();
}

unsigned short TLoopbackServer::ClosedPort() {
  unsigned short port = 0;
  ::closesocket(Bound(port));
  return port;
}

void TLoopbackServer::Route(const std::string& Path, TLoopbackRoute Answer) {
  std::lock_guard<std::mutex> lock(FLock);
  FRoutes[Path] = std::move(Answer);
}

std::vector<std::string> TLoopbackServer::Requests() {
  std::lock_guard<std::mutex> lock(FLock);
  return FRequests;
}

void TLoopbackServer::Serve() {
  while (!FStop) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(FListen, &set);
    timeval wait{0, 100000};
    if (::select(0, &set, nullptr, nullptr, &wait) <= 0) continue;
    SOCKET client = ::accept(FListen, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    DWORD timeout = 5000;
    ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
      const int n = ::recv(client, buffer, sizeof(buffer), 0);
      if (n <= 0) break;
      request.append(buffer, n);
    }
    std::string target;
    if (const auto sp = request.find(' '); sp != std::string::npos)
      target = request.substr(sp + 1, request.find(' ', sp + 1) - sp - 1);
    std::string path = target;
    if (const auto scheme = path.find("://"); scheme != std::string::npos)
      path = path.substr(path.find('/', scheme + 3) == std::string::npos ? path.size() : path.find('/', scheme + 3));
    TLoopbackRoute answer{"HTTP/1.1 404 Not Found\r\nContent-Length: 9", "not found"};
    {
      std::lock_guard<std::mutex> lock(FLock);
      FRequests.push_back(target);
      if (const auto it = FRoutes.find(path); it != FRoutes.end()) answer = it->second;
    }
    if (answer.DelayMs) ::Sleep(answer.DelayMs);
    const std::string response =
        answer.Head + "\r\nConnection: close\r\nCache-Control: no-store\r\n\r\n" + answer.Body;
    for (std::size_t at = 0; at < response.size();) {
      const int n = ::send(client, response.data() + at, static_cast<int>(response.size() - at), 0);
      if (n <= 0) break;
      at += static_cast<std::size_t>(n);
    }
    ::shutdown(client, SD_SEND);
    ::closesocket(client);
  }
}
