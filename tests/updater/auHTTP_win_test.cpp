// The download against a loopback server: events, their order, what ends up on disk.
// winsock2.h must come before windows.h.
#include "LoopbackServer.h"

#include "auHTTP.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"

namespace {

std::string Narrow(const std::wstring& Text) { return std::string(Text.begin(), Text.end()); }

std::string Block(std::size_t Size) {
  std::string s(Size, '\0');
  for (std::size_t i = 0; i < Size; ++i) s[i] = static_cast<char>('a' + (i * 7) % 26);
  return s;
}

// One component with every event recorded in order.
class DownloadTest : public testing::Test {
 protected:
  void SetUp() override {
    http.SetWaitThread(true);
    http.Proxy.AccessType = atDirect;
    http.OnDone = [this](TauHTTP& sender, const std::wstring& type, std::uint32_t size, TauHTTPStream stream) {
      events.push_back("done");
      doneSize = size;
      doneType = Narrow(type);
      busyInDone = sender.Busy();
      if (stream) memory = *stream;
      if (onDone) onDone(sender);
    };
    http.OnProgress = [this](TauHTTP&, const std::wstring&, std::uint32_t, std::uint32_t bytes, std::uint32_t,
                             std::uint32_t, std::uint8_t percent, float, TauHTTPStream) {
      percents.push_back(percent);
      progressBytes.push_back(bytes);
    };
    http.OnHTTPError = [this](TauHTTP& sender, std::int32_t code, TauHTTPStream) {
      events.push_back("http_error " + std::to_string(code));
      if (abortInError) sender.Abort();
    };
    http.OnHostUnreachable = [this](TauHTTP&) { events.push_back("unreachable"); };
    http.OnConnLost = [this](TauHTTP&, const std::wstring&, std::uint32_t size, std::uint32_t read, TauHTTPStream) {
      events.push_back("conn_lost " + std::to_string(size) + " " + std::to_string(read));
    };
    http.OnAnyError = [this](TauHTTP&) { events.push_back("any_error"); };
    http.OnAborted = [this](TauHTTP&) { events.push_back("aborted"); };
  }

  std::wstring Url(const std::string& Path) const {
    return L"http://127.0.0.1:" + std::to_wstring(server.Port()) + std::wstring(Path.begin(), Path.end());
  }

  TLoopbackServer server;
  TTempDir dir;
  TauHTTP http;
  std::vector<std::string> events;
  std::vector<int> percents;
  std::vector<std::uint32_t> progressBytes;
  std::uint32_t doneSize = 0;
  std::string doneType;
  std::string memory;
  bool busyInDone = true;
  bool abortInError = false;
  std::function<void(TauHTTP&)> onDone;
};

TEST_F(DownloadTest, OkWithLengthWritesFileAndReportsProgress) {
  const std::string body = Block(10000);
  server.Route("/ok.bin", {Ok(body, "application/zip"), body});
  http.URL = Url("/ok.bin");
  http.OutputFileName = dir / L"out.bin";
  EXPECT_TRUE(http.Read());
  EXPECT_EQ(events, (std::vector<std::string>{"done"}));
  EXPECT_EQ(doneSize, body.size());
  EXPECT_EQ(doneType, "application/zip");
  EXPECT_FALSE(busyInDone);
  EXPECT_EQ(ReadBytes(dir / L"out.bin"), body);
  ASSERT_FALSE(percents.empty());
  EXPECT_EQ(percents.back(), 100);
  EXPECT_EQ(progressBytes.back(), body.size());
  for (std::size_t i = 1; i < percents.size(); ++i) EXPECT_LE(percents[i - 1], percents[i]);
  EXPECT_LE(progressBytes.front(), 4096u);
}

TEST_F(DownloadTest, NotFoundWithBodyRaisesHttpErrorAndDeletesOutput) {
  server.Route("/missing", {"HTTP/1.1 404 Not Found\r\nContent-Length: 14", "no such update"});
  http.URL = Url("/missing");
  http.OutputFileName = dir / L"out.bin";
  EXPECT_TRUE(http.Read());
  EXPECT_EQ(events, (std::vector<std::string>{"any_error", "http_error 404"}));
  EXPECT_FALSE(FileExists(dir / L"out.bin"));
}

TEST_F(DownloadTest, AbortInsideHttpErrorKeepsErrorBody) {
  server.Route("/missing", {"HTTP/1.1 404 Not Found\r\nContent-Length: 14", "no such update"});
  abortInError = true;
  http.URL = Url("/missing");
  http.OutputFileName = dir / L"out.bin";
  EXPECT_TRUE(http.Read());
  EXPECT_EQ(events, (std::vector<std::string>{"any_error", "http_error 404"}));  // no OnAborted: not busy
  EXPECT_EQ(ReadBytes(dir / L"out.bin"), "no such update");
}

TEST_F(DownloadTest, WithoutLengthTheFileGetsWhatWasReceived) {
  WriteBytes(dir / L"Update.ini", "[UpdateInfo]\r\nVersion=1.0.0.0\r\n");  // an older copy
  const std::string body = "[UpdateInfo]\r\nVersion=6.10.0.0\r\n" + Block(9000);
  server.Route("/v.txt", {"HTTP/1.1 200 OK\r\nContent-Type: text/plain", body});
  http.URL = Url("/v.txt");
  http.OutputFileName = dir / L"Update.ini";
  EXPECT_TRUE(http.Read());
  EXPECT_EQ(events, (std::vector<std::string>{"done"}));
  EXPECT_EQ(ReadBytes(dir / L"Update.ini"), body);
  ASSERT_FALSE(percents.empty());
  for (int p : percents) EXPECT_EQ(p, 0);  // unknown length
}

TEST_F(DownloadTest, WithoutOutputFileTheBodyComesInMemory) {
  server.Route("/m", {Ok("in memory"), "in memory"});
  http.URL = Url("/m");
  EXPECT_TRUE(http.Read());
  EXPECT_EQ(events, (std::vector<std::string>{"done"}));
  EXPECT_EQ(memory, "in memory");
}

TEST_F(DownloadTest, ShortBodyIsConnectionLostAndOutputDeleted) {
  server.Route("/short", {"HTTP/1.1 200 OK\r\nContent-Length: 1000", Block(500)});
  http.URL = Url("/short");
  http.OutputFileName = dir / L"out.bin";
  EXPECT_TRUE(http.Read());
  EXPECT_EQ(events, (std::vector<std::string>{"any_error", "conn_lost 1000 500"}));
  EXPECT_FALSE(FileExists(dir / L"out.bin"));
}

TEST_F(DownloadTest, ClosedPortIsHostUnreachable) {
  http.URL = L"http://127.0.0.1:" + std::to_wstring(TLoopbackServer::ClosedPort()) + L"/x";
  http.OutputFileName = dir / L"out.bin";
  EXPECT_TRUE(http.Read());
  EXPECT_EQ(events, (std::vector<std::string>{"any_error", "unreachable"}));
  EXPECT_FALSE(FileExists(dir / L"out.bin"));
}

TEST_F(DownloadTest, OutputThatCannotBeCreatedIsOnlyAnyError) {
  server.Route("/ok", {Ok("body"), "body"});
  http.URL = Url("/ok");
  http.OutputFileName = dir / L"no such dir\\out.bin";
  EXPECT_TRUE(http.Read());
  EXPECT_EQ(events, (std::vector<std::string>{"any_error"}));
}

TEST_F(DownloadTest, UrlWithoutSchemeIsHttp) {
  server.Route("/plain", {Ok("plain"), "plain"});
  http.URL = L"127.0.0.1:" + std::to_wstring(server.Port()) + L"/plain";
  EXPECT_TRUE(http.Read());
  EXPECT_EQ(events, (std::vector<std::string>{"done"}));
  EXPECT_EQ(memory, "plain");
}

TEST_F(DownloadTest, ThroughProxyTheRequestNamesTheWholeUrl) {
  server.Route("/File/Update/Update6.txt", {Ok("via proxy"), "via proxy"});
  http.Proxy.AccessType = atUseProxy;
  http.Proxy.ProxyServer = L"127.0.0.1";
  http.Proxy.ProxyPort = server.Port();
  http.Proxy.ProxyBypass = L"";
  http.URL = L"http://update.kelvara.example/File/Update/Update6.txt";
  EXPECT_TRUE(http.Read());
  EXPECT_EQ(memory, "via proxy");
  ASSERT_FALSE(server.Requests().empty());
  // Absolute URI, with or without the default port.
  const std::string target = server.Requests().back();
  EXPECT_TRUE(target == "http://update.kelvara.example/File/Update/Update6.txt" ||
              target == "http://update.kelvara.example:80/File/Update/Update6.txt")
      << target;
}

TEST_F(DownloadTest, ReadWhileBusyReturnsFalse) {
  server.Route("/slow", {Ok("slow"), "slow", 700});
  http.SetWaitThread(false);
  http.URL = Url("/slow");
  EXPECT_TRUE(http.Read());
  EXPECT_TRUE(http.Busy());
  http.URL = Url("/other");
  EXPECT_FALSE(http.Read());
  const DWORD start = ::GetTickCount();
  while (events.empty() && ::GetTickCount() - start < 10000) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::Sleep(10);
  }
  EXPECT_EQ(events, (std::vector<std::string>{"done"}));
  EXPECT_EQ(memory, "slow");
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(DownloadTest, ReadInsideDoneStartsTheNextTransfer) {
  server.Route("/first", {Ok("first"), "first"});
  server.Route("/second", {Ok("second"), "second"});
  std::vector<std::string> bodies;
  bool innerRead = false;
  onDone = [&](TauHTTP& sender) {
    bodies.push_back(memory);
    if (bodies.size() == 1) {
      sender.URL = Url("/second");
      innerRead = sender.Read();
    }
  };
  http.URL = Url("/first");
  EXPECT_TRUE(http.Read());
  EXPECT_TRUE(innerRead);
  EXPECT_EQ(bodies, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(events, (std::vector<std::string>{"done", "done"}));
}

TEST_F(DownloadTest, AbortWhileBusyStopsAndReportsAborted) {
  server.Route("/slow", {Ok("slow"), "slow", 2000});
  http.SetWaitThread(false);
  http.URL = Url("/slow");
  ASSERT_TRUE(http.Read());
  ::Sleep(100);
  http.Abort();
  EXPECT_FALSE(http.Busy());
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < 2500) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::Sleep(10);
  }
  EXPECT_EQ(events, (std::vector<std::string>{"aborted"}));  // the stopped transfer reports nothing else
}

TEST_F(DownloadTest, WaitTimeoutReturnsFalseAndReportsOnce) {
  server.Route("/slow", {Ok("slow"), "slow", 3000});
  int expired = 0;
  http.OnWaitTimeoutExpired = [&](TauHTTP&) { ++expired; };
  http.SetWaitTimeout(300);
  http.URL = Url("/slow");
  http.OutputFileName = dir / L"out.bin";
  const DWORD start = ::GetTickCount();
  EXPECT_FALSE(http.Read());
  EXPECT_LT(::GetTickCount() - start, 2500u);
  EXPECT_EQ(expired, 1);
  EXPECT_FALSE(http.Busy());
  EXPECT_TRUE(events.empty());
}

}  // namespace
