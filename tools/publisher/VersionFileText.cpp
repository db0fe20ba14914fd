#include "VersionFileText.h"

#include "Utf8Text.h"

namespace {

bool Blank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The profile reader takes one pair of matching quotes off a value: a note that is quoted
// itself gets another pair, so that it reads back as written.
std::wstring StoredValue(const std::wstring& Note) {
  const bool quoted = Note.size() >= 2 && (Note.front() == L'"' || Note.front() == L'\'') && Note.back() == Note.front();
  return quoted ? L"\"" + Note + L"\"" : Note;
}

}  // namespace

bool ParseReleaseNotes(std::string_view Utf8, std::vector<std::wstring>& Lines, std::wstring& Error) {
  Lines.clear();
  if (Utf8.substr(0, 3) == "\xEF\xBB\xBF") Utf8.remove_prefix(3);
  std::wstring text;
  if (!DecodeUtf8Strict(Utf8, text)) {
    Error = L"the notes are not UTF-8 text";
    return false;
  }
  for (std::size_t at = 0; at <= text.size();) {
    std::size_t end = text.find(L'\n', at);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(at, end - at);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    while (!line.empty() && Blank(line.back())) line.pop_back();
    std::size_t first = 0;
    while (first < line.size() && Blank(line[first])) ++first;
    line.erase(0, first);
    for (const wchar_t c : line) {
      if (c < 0x20 && c != L'\t') {
        Error = L"line " + std::to_wstring(Lines.size() + 1) + L" of the notes holds a control character";
        return false;
      }
    }
    // Wide characters beyond 16 bits count twice where the updater reads UTF-16.
    std::size_t units = 0;
    for (const wchar_t c : line) {
      const auto cp = static_cast<std::uint32_t>(c);
      units += cp > 0xFFFF ? 2 : 1;
    }
    if (units > kVersionFileValueMax) {
      Error = L"line " + std::to_wstring(Lines.size() + 1) + L" of the notes is longer than " +
              std::to_wstring(kVersionFileValueMax) + L" characters";
      return false;
    }
    Lines.push_back(std::move(line));
    at = end + 1;
  }
  while (!Lines.empty() && Lines.back().empty()) Lines.pop_back();
  return true;
}

std::string VersionFileBytes(std::wstring_view Version, const std::vector<std::wstring>& Notes,
                             std::string_view Signature) {
  std::wstring text = L"[UpdateInfo]\r\nVersion=" + std::wstring(Version) + L"\r\n";
  if (!Signature.empty()) {
    text += L"Signature=";
    for (const char c : Signature) text += static_cast<wchar_t>(static_cast<unsigned char>(c));  // base64: ASCII
    text += L"\r\n";
  }
  text += L"[VersionInfo]\r\n";
  for (std::size_t i = 0; i < Notes.size(); ++i) text += L"Line" + std::to_wstring(i + 1) + L"=" + StoredValue(Notes[i]) + L"\r\n";
  std::string bytes = "\xFF\xFE";
  auto unit = [&bytes](std::uint32_t u) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  };
  for (const wchar_t c : text) {
    const auto cp = static_cast<std::uint32_t>(c);
    if (cp > 0xFFFF) {  // where wchar_t holds whole code points
      unit(0xD800 + ((cp - 0x10000) >> 10));
      unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return bytes;
}
