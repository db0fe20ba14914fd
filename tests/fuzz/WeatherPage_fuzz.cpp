// libFuzzer target for the weather widget's readers of untrusted bytes: the forecast page
// (UTF-8 decoding, line rejoining, page scraping) and the city code file.
// The scraper is checked against a plain transcription of its algorithm that copies the
// remaining page at every step, so an offset slip in the view-based scan shows as a difference.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "CityCode.h"
#include "TextDecoding.h"
#include "WeatherIcons.h"
#include "WeatherPage.h"
#include "ZekText.h"

namespace {

void Check(bool Holds) {
  if (!Holds) std::abort();
}

bool HasAsciiUpper(std::wstring_view Text) {
  for (const wchar_t c : Text)
    if (c >= L'A' && c <= L'Z') return true;
  return false;
}

std::wstring LowerAscii(std::wstring Text) {
  for (auto& c : Text)
    if (c >= L'A' && c <= L'Z') c += L'a' - L'A';
  return Text;
}

std::wstring UpperAscii(std::wstring Text) {
  for (auto& c : Text)
    if (c >= L'a' && c <= L'z') c -= L'a' - L'A';
  return Text;
}

// ---- The transcription: 1-based positions, the remaining page as a copied string. ----

struct TReference {
  std::wstring Page;
  std::wstring Cell;

  std::size_t Pos(const std::wstring& Mark) const {
    const std::size_t at = Page.find(Mark);
    return at == std::wstring::npos ? 0 : at + 1;
  }
  void Advance(const std::wstring& Mark) {
    const std::size_t from = Pos(Mark) + Mark.size();  // 1-based start of the rest
    Page = from - 1 >= Page.size() ? std::wstring() : Page.substr(from - 1);
  }
  void NextCell() { TextBetween(Page, L"<td", L"/td>", Cell); }
  static std::wstring Between(const std::wstring& X, const std::wstring& S, const std::wstring& E) {
    std::wstring out;
    TextBetween(X, S, E, out);
    return out;
  }

  void Day(int N, std::wstring& Date, std::int32_t& DayIcon, std::int32_t& NightIcon, std::wstring& DayText,
           std::wstring& NightText, std::wstring& Low, std::wstring& High, std::wstring& Wind) {
    const std::wstring link = L"target=\"_blank\">";
    const std::wstring key = L"<!--day " + std::to_wstring(N) + L"-->";
    if (Pos(key) == 0) return;
    Advance(key);
    Advance(L"<tr>");
    NextCell();
    if (Cell.find(L"title=\"") != std::wstring::npos) {
      Cell = Cell.substr(Cell.find(L"title=\""));
      Date = Between(Cell, L">", L"</a>");
    } else {
      Date = Between(Cell, L">", L"<");
    }
    Advance(L"</td>");
    Advance(L"</td>");
    NextCell();
    DayIcon = GetIconCode(Between(Cell, L"icon_weather/29x20/d", L".gif"));
    Advance(L"</td>");
    NextCell();
    DayText = Between(Cell, link, L"</a>");
    Advance(L"</td>");
    NextCell();
    High = Between(Cell, L"<strong>", L"</strong>");
    Advance(L"</td>");
    NextCell();
    Wind = JoinTrimmedLines(Between(Cell, link, L"</a>"));
    Advance(L"</td>");
    NextCell();
    Wind = Wind + L" " + JoinTrimmedLines(Between(Cell, link, L"</a>"));
    Advance(L"</td>");
    const auto e = static_cast<long long>(Pos(L"</tr>")), t = static_cast<long long>(Pos(L"<tr>"));
    if (t - e >= 20) return;
    Advance(L"</td>");
    NextCell();
    NightIcon = GetIconCode(Between(Cell, L"icon_weather/29x20/n", L".gif"));
    Advance(L"</td>");
    NextCell();
    NightText = Between(Cell, link, L"</a>");
    Advance(L"</td>");
    Low = Between(Page, L"<strong>", L"</strong>");
  }
};

void ReferenceParse(const std::wstring& Text, TWeatherForecast& F) {
  TReference r{LowerAscii(Text), {}};
  std::wstring low, high;
  std::int32_t discarded = 0;
  r.Day(1, F.FDayCaption, F.WeatherIcon, discarded, F.WeatherText, F.WeatherText, low, high, F.wind1);
  F.tmp1 = low.empty() ? high : low + L" ~ " + high;
  r.Day(2, F.DayDate2, F.weatherIcon2AM, F.weatherIcon2PM, F.weatherText2AM, F.weatherText2PM, F.tmp2Low, F.tmp2High,
        F.wind2);
  r.Day(3, F.DayDate3, F.weatherIcon3AM, F.weatherIcon3PM, F.weatherText3AM, F.weatherText3PM, F.tmp3Low, F.tmp3High,
        F.wind3);
  r.Day(4, F.DayDate4, F.weatherIcon4AM, F.weatherIcon4PM, F.weatherText4AM, F.weatherText4PM, F.tmp4Low, F.tmp4High,
        F.wind4);
}

// ---- Checks ----

template <class F>
void ForEachText(TWeatherForecast& Forecast, F&& Visit) {
  for (std::wstring* s :
       {&Forecast.FDayCaption, &Forecast.WeatherText, &Forecast.tmp1, &Forecast.wind1, &Forecast.DayDate2,
        &Forecast.DayDate3, &Forecast.DayDate4, &Forecast.weatherText2AM, &Forecast.weatherText3AM,
        &Forecast.weatherText4AM, &Forecast.weatherText2PM, &Forecast.weatherText3PM, &Forecast.weatherText4PM,
        &Forecast.tmp2High, &Forecast.tmp3High, &Forecast.tmp4High, &Forecast.tmp2Low, &Forecast.tmp3Low,
        &Forecast.tmp4Low, &Forecast.wind2, &Forecast.wind3, &Forecast.wind4})
    Visit(*s);
}

template <class F>
void ForEachIcon(TWeatherForecast& Forecast, F&& Visit) {
  for (std::int32_t* i : {&Forecast.WeatherIcon, &Forecast.weatherIcon2AM, &Forecast.weatherIcon3AM,
                          &Forecast.weatherIcon4AM, &Forecast.weatherIcon2PM, &Forecast.weatherIcon3PM,
                          &Forecast.weatherIcon4PM})
    Visit(*i);
}

bool SameForecast(TWeatherForecast A, TWeatherForecast B) {
  std::vector<std::wstring> a, b;
  std::vector<std::int32_t> ia, ib;
  ForEachText(A, [&](std::wstring& s) { a.push_back(s); });
  ForEachText(B, [&](std::wstring& s) { b.push_back(s); });
  ForEachIcon(A, [&](std::int32_t& i) { ia.push_back(i); });
  ForEachIcon(B, [&](std::int32_t& i) { ib.push_back(i); });
  return a == b && ia == ib;
}

constexpr std::int32_t kKeptIcon = -7;
const std::wstring kKeptText = L"KEPT";  // upper case: a scraped text never is

bool IsPageIconCode(std::int32_t Code) {
  for (const std::int32_t c : {1, 9, 10, 13, 16, 17, 18, 19, 23, 26, 31, 39, 40})
    if (c == Code) return true;
  return false;
}

void CheckDecodedText(const std::wstring& Text) {
  for (std::size_t i = 0; i < Text.size(); ++i) {
    const auto u = static_cast<std::uint32_t>(Text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (u >= 0xD800 && u <= 0xDBFF) {
        Check(i + 1 < Text.size() && (Text[i + 1] & 0xFC00) == 0xDC00);
        ++i;
        continue;
      }
    }
    Check(u <= 0x10FFFF && !(u >= 0xD800 && u <= 0xDFFF));
  }
}

void CheckLines(const std::wstring& Text, const std::wstring& Rejoined) {
  for (std::size_t i = 0; i < Rejoined.size(); ++i) {
    if (Rejoined[i] == L'\r') Check(i + 1 < Rejoined.size() && Rejoined[i + 1] == L'\n');
    if (Rejoined[i] == L'\n') Check(i > 0 && Rejoined[i - 1] == L'\r');
  }
  Check(Text.empty() == Rejoined.empty());
  Check(Rejoined.empty() || Rejoined.ends_with(L"\r\n"));
  Check(RejoinLines(Rejoined) == Rejoined);
  Check(SplitLines(Rejoined) == SplitLines(Text));
}

void PageRules(std::string_view Bytes) {
  const std::wstring decoded = DecodeUtf8(Bytes);
  CheckDecodedText(decoded);
  Check(decoded.size() <= Bytes.size());
  const std::wstring text = RejoinLines(decoded);
  CheckLines(decoded, text);

  TWeatherForecast kept;
  ForEachText(kept, [](std::wstring& s) { s = kKeptText; });
  ForEachIcon(kept, [](std::int32_t& i) { i = kKeptIcon; });

  TWeatherForecast once = kept;
  Check(ParseWeather(text, once));
  TWeatherForecast reference = kept;
  ReferenceParse(text, reference);
  Check(SameForecast(once, reference));

  // A second parse of the same page writes the same fields with the same values.
  TWeatherForecast twice = once;
  Check(ParseWeather(text, twice));
  Check(SameForecast(once, twice));

  const std::wstring lowered = LowerAscii(text);
  ForEachText(once, [&](std::wstring& s) { Check(s == kKeptText || !HasAsciiUpper(s)); });
  ForEachIcon(once, [](std::int32_t& i) { Check(i == kKeptIcon || IsPageIconCode(i)); });
  Check(once.tmp1 != kKeptText);
  for (const std::wstring* s : {&once.FDayCaption, &once.DayDate2, &once.weatherText3PM, &once.tmp4Low})
    Check(*s == kKeptText || lowered.find(*s) != std::wstring::npos);
  if (lowered.find(L"<!--day 1-->") == std::wstring::npos) {
    Check(once.tmp1.empty() && once.FDayCaption == kKeptText && once.WeatherIcon == kKeptIcon);
  } else {
    Check(once.FDayCaption != kKeptText && once.wind1.find(L' ') != std::wstring::npos);
  }
}

std::wstring Latin1(std::string_view Bytes) {
  std::wstring out;
  for (const char c : Bytes) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return out;
}

void CityFileRules(std::string_view Bytes) {
  bool ansiCalled = false;
  const std::wstring text = DecodeTextFile(Bytes, [&](std::string_view B) {
    ansiCalled = true;
    return Latin1(B);
  });
  const bool marked =
      Bytes.starts_with("\xEF\xBB\xBF") || Bytes.starts_with("\xFF\xFE") || Bytes.starts_with("\xFE\xFF");
  Check(ansiCalled != marked);
  if (!marked) Check(text == Latin1(Bytes));
  CheckDecodedText(text);

  // The first line names itself.
  const auto lines = SplitLines(text);
  if (!lines.empty() && lines[0].find(L'=') != std::wstring::npos) {
    const std::size_t eq = lines[0].find(L'=');
    const std::wstring name = lines[0].substr(0, eq), code = lines[0].substr(eq + 1);
    Check(FindCityCode(text, name) == code);
    Check(FindCityCode(text, UpperAscii(name)) == code && FindCityCode(text, LowerAscii(name)) == code);
  }

  // A city from the end of the input: a line added at the end never overrides an earlier match.
  std::wstring city = text.substr(text.size() - std::min<std::size_t>(text.size(), 6));
  city = city.substr(0, city.find_first_of(L"\r\n="));
  const std::wstring code = FindCityCode(text, city);
  Check(code.find_first_of(L"\r\n") == std::wstring::npos);
  Check(FindCityCode(text, UpperAscii(city)) == code && FindCityCode(text, LowerAscii(city)) == code);
  const std::wstring extended = FindCityCode(text + L"\n" + city + L"=#added", city);
  Check(code.empty() ? (extended.empty() || extended == L"#added") : extended == code);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string_view bytes(reinterpret_cast<const char*>(Data), Size);
  PageRules(bytes);
  CityFileRules(bytes);
  return 0;
}
