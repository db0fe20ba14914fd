#include "TextDecoding.h"

#include "Utf8Text.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool StartsWith(std::string_view Bytes, std::string_view Mark) { return Bytes.substr(0, Mark.size()) == Mark; }

// UTF-16 code units to text; an unpaired surrogate becomes U+FFFD, an odd last byte is dropped.
std::wstring Utf16ToWide(std::string_view Bytes, bool BigEndian) {
  const auto unit = [&](std::size_t At) {
    const auto lo = static_cast<unsigned char>(Bytes[At + (BigEndian ? 1 : 0)]);
    const auto hi = static_cast<unsigned char>(Bytes[At + (BigEndian ? 0 : 1)]);
    return static_cast<char32_t>(lo | (hi << 8));
  };
  std::wstring out;
  out.reserve(Bytes.size() / 2);
  const std::size_t units = Bytes.size() / 2;
  for (std::size_t k = 0; k < units; ++k) {
    const char32_t u = unit(2 * k);
    if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
      const char32_t low = unit(2 * (k + 1));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendCodePoint(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        ++k;
        continue;
      }
    }
    AppendCodePoint(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
  }
  return out;
}

// Calls Line(begin, end) for every line of Text; a final line break adds no empty line.
template <class F>
void ForEachLine(std::wstring_view Text, F&& Line) {
  // A plain loop: find_first_of tests each character against the set with a library call.
  std::size_t from = 0;
  for (std::size_t at = 0; at < Text.size(); ++at) {
    if (Text[at] != L'\r' && Text[at] != L'\n') continue;
    Line(Text.substr(from, at - from));
    if (Text[at] == L'\r' && at + 1 < Text.size() && Text[at + 1] == L'\n') ++at;
    from = at + 1;
  }
  if (from < Text.size()) Line(Text.substr(from));
}

}  // namespace

std::wstring DecodeUtf8(std::string_view Bytes) {
  if (StartsWith(Bytes, "\xEF\xBB\xBF")) Bytes.remove_prefix(3);
  return DecodeUtf8Lenient(Bytes);
}

std::wstring RejoinLines(std::wstring_view Text) {
  std::wstring out;
  out.reserve(Text.size() + 2);
  ForEachLine(Text, [&](std::wstring_view Line) {
    out += Line;
    out += L"\r\n";
  });
  return out;
}

std::vector<std::wstring> SplitLines(std::wstring_view Text) {
  std::vector<std::wstring> lines;
  ForEachLine(Text, [&](std::wstring_view Line) { lines.emplace_back(Line); });
  return lines;
}

std::wstring DecodeTextFile(std::string_view Bytes, const TAnsiDecoder& Ansi) {
  if (StartsWith(Bytes, "\xEF\xBB\xBF")) return DecodeUtf8Lenient(Bytes.substr(3));
  if (StartsWith(Bytes, "\xFF\xFE")) return Utf16ToWide(Bytes.substr(2), false);
  if (StartsWith(Bytes, "\xFE\xFF")) return Utf16ToWide(Bytes.substr(2), true);
  return Ansi ? Ansi(Bytes) : std::wstring();
}
