#include "GlobalOptions.h"

#include <gtest/gtest.h>

#include <map>

#include "TableProfile.h"

namespace {

struct TGlobalCase {
  const char* Name;
  std::map<std::wstring, std::wstring> Keys;
  TLanguage Language;
  TProxyType ProxyType;
  const wchar_t* ProxySvr;
  std::int32_t ProxyPort;
};

class GlobalOptionsTest : public testing::TestWithParam<TGlobalCase> {};

TEST_P(GlobalOptionsTest, ReadsFourKeysWithDefaults) {
  const TGlobalCase& c = GetParam();
  TTableProfile ini;
  if (!c.Keys.empty()) ini.Sections[L"GlobalOptions"] = c.Keys;
  const TGlobalOptions options = ReadGlobalOptions(ini);
  EXPECT_EQ(options.FLanguage, c.Language);
  EXPECT_EQ(options.FProxyType, c.ProxyType);
  EXPECT_EQ(options.FProxySvr, c.ProxySvr);
  EXPECT_EQ(options.FProxyPort, c.ProxyPort);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GlobalOptionsTest,
    testing::Values(
        TGlobalCase{"missing_file", {}, lgGB2312, ptIE, L"", 0},
        TGlobalCase{"options_proxy",
                    {{L"Language", L"1"}, {L"ProxyType", L"2"}, {L"ProxySvr", L"127.0.0.1"}, {L"ProxyPort", L"8080"}},
                    lgGB2312, ptOptions, L"127.0.0.1", 8080},
        TGlobalCase{"english_hex_port", {{L"Language", L"0"}, {L"ProxyPort", L"$1F90"}}, lgEnglish, ptIE, L"", 8080},
        TGlobalCase{"out_of_range_values", {{L"Language", L"7"}, {L"ProxyType", L"7"}}, static_cast<TLanguage>(7),
                    static_cast<TProxyType>(7), L"", 0},
        TGlobalCase{"not_integers", {{L"Language", L"yes"}, {L"ProxyType", L""}, {L"ProxyPort", L"http"}}, lgGB2312,
                    ptIE, L"", 0},
        TGlobalCase{"options_proxy_without_host", {{L"ProxyType", L"2"}}, lgGB2312, ptOptions, L"", 0}),
    [](const testing::TestParamInfo<TGlobalCase>& info) { return info.param.Name; });

}  // namespace
