// Parses a saved forecast page as the weather widget does and prints the forecast fields.
//   weatherpage [--names] FILE
// FILE is read as the raw bytes of the response body. Output: one name=value line per field,
// UTF-8 with LF line ends; --names adds the icon name and the day skin word of today.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "TextDecoding.h"
#include "Utf8Text.h"
#include "WeatherForecast.h"
#include "WeatherIcons.h"
#include "WeatherPage.h"
#include "WeatherSkin.h"

namespace {

struct TOutput {
  std::string Text;
  void Line(const char* Name, const std::wstring& Value) { Text += std::string(Name) + "=" + EncodeUtf8(Value) + "\n"; }
  void Line(const char* Name, std::int32_t Value) { Text += std::string(Name) + "=" + std::to_string(Value) + "\n"; }
};

std::string FieldLines(const TWeatherForecast& F, bool Names) {
  TOutput o;
  o.Line("FDayCaption", F.FDayCaption);
  o.Line("WeatherIcon", F.WeatherIcon);
  o.Line("WeatherText", F.WeatherText);
  o.Line("tmp1", F.tmp1);
  o.Line("wind1", F.wind1);
  o.Line("DayDate2", F.DayDate2);
  o.Line("DayDate3", F.DayDate3);
  o.Line("DayDate4", F.DayDate4);
  o.Line("weatherIcon2AM", F.weatherIcon2AM);
  o.Line("weatherIcon2PM", F.weatherIcon2PM);
  o.Line("weatherIcon3AM", F.weatherIcon3AM);
  o.Line("weatherIcon3PM", F.weatherIcon3PM);
  o.Line("weatherIcon4AM", F.weatherIcon4AM);
  o.Line("weatherIcon4PM", F.weatherIcon4PM);
  o.Line("weatherText2AM", F.weatherText2AM);
  o.Line("weatherText2PM", F.weatherText2PM);
  o.Line("weatherText3AM", F.weatherText3AM);
  o.Line("weatherText3PM", F.weatherText3PM);
  o.Line("weatherText4AM", F.weatherText4AM);
  o.Line("weatherText4PM", F.weatherText4PM);
  o.Line("tmp2High", F.tmp2High);
  o.Line("tmp2Low", F.tmp2Low);
  o.Line("tmp3High", F.tmp3High);
  o.Line("tmp3Low", F.tmp3Low);
  o.Line("tmp4High", F.tmp4High);
  o.Line("tmp4Low", F.tmp4Low);
  o.Line("wind2", F.wind2);
  o.Line("wind3", F.wind3);
  o.Line("wind4", F.wind4);
  if (Names) {
    o.Line("IconName", GetIconName(F.WeatherIcon));
    o.Line("SkinWord", GetSkinColor(F.WeatherIcon, 12));
  }
  return o.Text;
}

template <class Char>
int Run(int argc, Char** argv) {
  bool names = false;
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    if (std::basic_string<Char>(argv[i]) == std::basic_string<Char>({'-', '-', 'n', 'a', 'm', 'e', 's'}))
      names = true;
    else
      files.emplace_back(argv[i]);
  }
  if (files.size() != 1) {
    std::fputs("usage: weatherpage [--names] FILE\n", stderr);
    return 2;
  }
  std::ifstream in(files[0], std::ios::binary);
  if (!in) {
    const std::u8string name = files[0].u8string();  // string() may fail on paths outside the ANSI code page
    std::fprintf(stderr, "weatherpage: cannot read %s\n", reinterpret_cast<const char*>(name.c_str()));
    return 1;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TWeatherForecast forecast;
  ParseWeather(RejoinLines(DecodeUtf8(bytes)), forecast);
  const std::string out = FieldLines(forecast, names);
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) { return Run(argc, argv); }
#else
int main(int argc, char** argv) { return Run(argc, argv); }
#endif
