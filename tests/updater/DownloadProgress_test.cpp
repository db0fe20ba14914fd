#include "DownloadProgress.h"

#include <gtest/gtest.h>

namespace {

struct TProgressCase {
  std::uint32_t Announced, Received, Start, Now;
  std::uint8_t Percent;
  std::uint32_t Elapsed, Estimated;
  float Rate;
};

class ProgressTest : public testing::TestWithParam<TProgressCase> {};

TEST_P(ProgressTest, Figures) {
  const auto& c = GetParam();
  const TDownloadProgress p = ComputeProgress(c.Announced, c.Received, c.Start, c.Now);
  EXPECT_EQ(p.PercentsDone, c.Percent);
  EXPECT_EQ(p.ElapsedTime, c.Elapsed);
  EXPECT_EQ(p.EstimatedTime, c.Estimated);
  EXPECT_FLOAT_EQ(p.TransferRate, c.Rate);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgressTest,
    testing::Values(TProgressCase{1000, 500, 0, 999, 50, 0, 0, 500 / 1024.0f},       // first second: plain KB
                    TProgressCase{4096, 1024, 1000, 5000, 25, 4, 12, 0.25f},          // 4 s for a quarter
                    TProgressCase{3, 2, 0, 0, 67, 0, 0, 2 / 1024.0f},                 // rounded to nearest
                    TProgressCase{0, 8192, 0, 3000, 0, 3, 0, 8.0f / 3},               // unknown length: 0 %
                    TProgressCase{1000, 1000, 0, 2000, 100, 2, 0, 1000 / 1024.0f / 2},
                    TProgressCase{100, 0, 0, 5000, 0, 5, 0, 0},                       // nothing yet
                    TProgressCase{100, 300, 0, 1000, 44, 1, 0, 300 / 1024.0f},        // overrun keeps the low byte
                    TProgressCase{1000, 500, 0xFFFFF000u, 0x00000FA0u, 50, 8, 8, 500 / 1024.0f / 8}));  // tick wrap

struct TSuccessCase {
  const char* Name;
  TTransferResult Result;
  bool Success;
};

class SuccessTest : public testing::TestWithParam<TSuccessCase> {};

TEST_P(SuccessTest, Decision) { EXPECT_EQ(TransferSucceeded(GetParam().Result), GetParam().Success); }

INSTANTIATE_TEST_SUITE_P(
    Cases, SuccessTest,
    testing::Values(TSuccessCase{"complete", {200, 10, true, 10, true, false}, true},
                    TSuccessCase{"short", {200, 10, true, 9, true, false}, false},
                    TSuccessCase{"long", {200, 10, true, 11, true, false}, false},
                    TSuccessCase{"no_length", {200, 0, false, 77, true, false}, true},
                    TSuccessCase{"no_length_broken", {200, 0, false, 77, true, true}, false},
                    TSuccessCase{"empty_body", {200, 0, true, 0, true, false}, true},
                    TSuccessCase{"not_found", {404, 10, true, 10, true, false}, false},
                    TSuccessCase{"no_status", {-1, 0, false, 0, false, false}, false},
                    TSuccessCase{"no_output", {200, 10, true, 0, false, false}, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(DownloadUrl, SchemeDefaultsToHttp) {
  EXPECT_EQ(WithDefaultScheme(L"host/File/a.txt"), L"http://host/File/a.txt");
  EXPECT_EQ(WithDefaultScheme(L"http://host/a"), L"http://host/a");
  EXPECT_EQ(WithDefaultScheme(L"https://host/a"), L"https://host/a");
  EXPECT_EQ(WithDefaultScheme(L""), L"http://");
}

TEST(DownloadStatus, Texts) {
  EXPECT_EQ(InternetStatusText(10), L"Resolving name");
  EXPECT_EQ(InternetStatusText(110), L"Redirect");
  EXPECT_EQ(InternetStatusText(999), L"Unknown status");
}

}  // namespace
