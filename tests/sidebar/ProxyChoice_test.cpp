#include "ProxyChoice.h"

#include <gtest/gtest.h>

namespace {

struct TProxyCase {
  const char* Name;
  TProxyType Type;
  bool SystemEnabled;
  bool Result;
  const wchar_t* Host;
  const wchar_t* Port;
};

class ProxyChoiceTest : public testing::TestWithParam<TProxyCase> {};

TEST_P(ProxyChoiceTest, AnswersFromOptions) {
  const TProxyCase& c = GetParam();
  bool asked = false;
  const TSystemProxyQuery system = [&](std::wstring& host, std::int32_t& port) {
    asked = true;
    if (!c.SystemEnabled) return false;
    host = L"sys";
    port = 3128;
    return true;
  };
  std::wstring host = L"old-host", port = L"old-port";
  EXPECT_EQ(ChooseProxy(c.Type, L"127.0.0.1", 8080, system, host, port), c.Result);
  EXPECT_EQ(host, c.Host);
  EXPECT_EQ(port, c.Port);
  EXPECT_EQ(asked, c.Type == ptIE);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxyChoiceTest,
    testing::Values(TProxyCase{"none", ptNone, true, false, L"old-host", L"old-port"},
                    TProxyCase{"outside_enumeration", static_cast<TProxyType>(7), true, false, L"old-host",
                               L"old-port"},
                    TProxyCase{"system_enabled", ptIE, true, true, L"sys", L"3128"},
                    TProxyCase{"system_disabled", ptIE, false, false, L"old-host", L"0"},
                    TProxyCase{"options", ptOptions, false, true, L"127.0.0.1", L"8080"}),
    [](const testing::TestParamInfo<TProxyCase>& info) { return info.param.Name; });

TEST(ProxyChoice, OptionsWithoutHostStillReportAProxy) {
  std::wstring host = L"x", port;
  EXPECT_TRUE(ChooseProxy(ptOptions, L"", 0, nullptr, host, port));
  EXPECT_EQ(host, L"");
  EXPECT_EQ(port, L"0");
}

}  // namespace
