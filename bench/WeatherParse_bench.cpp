// Time of the weather widget's page path (UTF-8 decoding, line rejoining, scraping) on a
// generated forecast page of about 200 KB, and on the same page padded to 4 and 16 times
// that size. Time per KB that stays flat across the sizes shows the scan is linear.
//   WeatherParse_bench [rounds]     default 21 rounds, median reported
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "TextDecoding.h"
#include "WeatherPage.h"
#include "WeatherPageBuilder.h"

namespace {

std::string Utf8(const std::wstring& Text) {
  std::string out;
  for (const wchar_t w : Text) {
    const auto c = static_cast<char32_t>(w);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {  // the generated page stays in the Basic Multilingual Plane
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Markup of the kind that fills the rest of a forecast page: scripts, city lists, hourly
// tables with cells and strong elements, news links. Numbered so no two pieces are equal.
std::wstring Filler(int I) {
  const std::wstring n = std::to_wstring(I);
  return L"<div class=\"hourly\" id=\"h" + n + L"\">\r\n<table class=\"hours\" cellspacing=\"0\">\r\n"
         L"<tr><th>时间</th><th>天气</th><th>气温</th><th>风向</th></tr>\r\n"
         L"<tr><td>" + n + L":00</td><td><img src=\"/m2/i/icon_weather/42x30/d07.gif\" alt=\"小雨\" /></td>"
         L"<td><strong>2" + std::to_wstring(I % 10) + L"℃</strong></td><td>东南风 3级</td></tr>\r\n"
         L"<tr><td>" + n + L":30</td><td><img src=\"/m2/i/icon_weather/42x30/d01.gif\" alt=\"多云\" /></td>"
         L"<td><strong>2" + std::to_wstring((I + 3) % 10) + L"℃</strong></td><td>南风 微风</td></tr>\r\n"
         L"</table>\r\n</div>\r\n<ul class=\"news\">\r\n"
         L"  <li><a href=\"/news/2024/05/" + n + L".shtml\" target=\"_blank\">强对流天气来袭 注意防范雷电大风</a></li>\r\n"
         L"  <li><a href=\"/news/2024/05/" + n +
         L"b.shtml\" target=\"_blank\">Typhoon season outlook for the coast</a></li>\r\n"
         L"  <li><a href=\"/travel/" + n + L".shtml\" title=\"出行\">周末出行指南：珠海、澳门、中山</a></li>\r\n"
         L"</ul>\r\n<script type=\"text/javascript\">var slot" + n +
         L" = {id: " + n + L", url: \"/ad/" + n + L".js\", w: 300, h: 250};</script>\r\n";
}

std::wstring Padding(std::size_t Chars, int& Counter) {
  std::wstring out;
  while (out.size() < Chars) out += Filler(Counter++);
  return out;
}

// Head and navigation first, the four day blocks near the start, the rest after them.
std::wstring ForecastPage(std::size_t TargetChars, bool DayFour) {
  int counter = 0;
  auto days = FourDays();
  if (!DayFour) days.pop_back();
  const std::wstring head = Padding(12000, counter);
  const std::wstring blocks = WeatherPage(days, head);
  return blocks + Padding(TargetChars > blocks.size() ? TargetChars - blocks.size() : 0, counter);
}

template <class F>
double MedianSeconds(int Rounds, F&& Run) {
  std::vector<double> times;
  for (int i = 0; i < Rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    Run();
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

volatile std::size_t GSink = 0;  // keeps the work from being optimised away

struct TRow {
  const char* Name;
  bool DayFour;
  bool FromBytes;
};

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
#ifdef __GLIBC__
  // Page-sized buffers would otherwise be mapped and faulted in afresh every round, and the
  // kernel's page faults, not the scan, would decide the figures.
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
  const std::size_t baseChars = 180000;  // about 200 KB of UTF-8: the Chinese texts take 3 bytes
  const int scales[] = {1, 4, 16};
  const TRow rows[] = {{"bytes -> decode, rejoin, parse", true, true},
                       {"parse only", true, false},
                       {"parse only, day 4 missing", false, false}};

  std::printf("median of %d rounds per size; time per KB of UTF-8 page\n", rounds);
  for (const TRow& row : rows) {
    double perKb[3] = {};
    for (int s = 0; s < 3; ++s) {
      const std::wstring page = ForecastPage(baseChars * scales[s], row.DayFour);
      const std::string bytes = Utf8(page);
      const std::wstring text = RejoinLines(page);
      const double seconds = MedianSeconds(rounds, [&] {
        TWeatherForecast f;
        if (row.FromBytes)
          ParseWeather(RejoinLines(DecodeUtf8(bytes)), f);
        else
          ParseWeather(text, f);
        GSink = GSink + f.wind4.size() + f.tmp1.size();
      });
      const double kb = static_cast<double>(bytes.size()) / 1024.0;
      perKb[s] = seconds * 1e6 / kb;
      std::printf("%-32s %3dx  %8.1f KB  %9.3f ms  %7.3f us/KB\n", row.Name, scales[s], kb, seconds * 1e3, perKb[s]);
    }
    // The 1x page of the same run is the reference: a linear scan keeps both ratios near 1.
    std::printf("%-32s time per KB 4x/1x = %.2f, 16x/1x = %.2f\n\n", row.Name, perKb[1] / perKb[0],
                perKb[2] / perKb[0]);
  }
  return 0;
}
