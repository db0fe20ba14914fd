#include "ZekText.h"

#include "ProfileValue.h"

namespace {

constexpr std::size_t kBetweenWindow = 65535;

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// Index of the first occurrence of Separator in Text, ASCII letters without case.
std::size_t FindNoCase(std::wstring_view Text, std::wstring_view Separator) {
  if (Separator.empty() || Separator.size() > Text.size()) return std::wstring_view::npos;
  for (std::size_t i = 0; i + Separator.size() <= Text.size(); ++i) {
    std::size_t k = 0;
    while (k < Separator.size() && AsciiUpper(Text[i + k]) == AsciiUpper(Separator[k])) ++k;
    if (k == Separator.size()) return i;
  }
  return std::wstring_view::npos;
}

}  // namespace

std::wstring LowerAscii(std::wstring_view Text) {
  std::wstring out(Text);
  for (auto& c : out)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return out;
}

bool SameTextAscii(std::wstring_view A, std::wstring_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i)
    if (AsciiUpper(A[i]) != AsciiUpper(B[i])) return false;
  return true;
}

std::wstring TextBefore(std::wstring_view Text, std::wstring_view Separator) {
  const std::size_t p = FindNoCase(Text, Separator);
  return std::wstring(p == std::wstring_view::npos ? Text : Text.substr(0, p));
}

std::wstring TextAfter(std::wstring_view Text, std::wstring_view Separator) {
  const std::size_t p = FindNoCase(Text, Separator);
  return std::wstring(p == std::wstring_view::npos ? Text : Text.substr(p + Separator.size()));
}

void TextBetween(std::wstring_view Source, std::wstring_view StartMark, std::wstring_view EndMark,
                 std::wstring& Output) {
  if (StartMark.empty() || EndMark.empty()) return;
  const std::size_t start = Source.find(StartMark);
  if (start == std::wstring_view::npos) return;
  const std::wstring_view piece = Source.substr(start + StartMark.size(), kBetweenWindow);
  const std::size_t end = piece.find(EndMark);
  if (end == std::wstring_view::npos) return;
  Output.assign(piece.substr(0, end));
}

std::vector<std::wstring> SplitText(std::wstring_view Text, std::wstring_view Separator) {
  std::vector<std::wstring> parts;
  if (Text.empty()) return parts;
  if (Separator.empty()) {
    parts.emplace_back(Text);
    return parts;
  }
  std::size_t from = 0;
  for (std::size_t at; (at = Text.find(Separator, from)) != std::wstring_view::npos; from = at + Separator.size())
    parts.emplace_back(Text.substr(from, at - from));
  parts.emplace_back(Text.substr(from));
  return parts;
}

std::wstring IntToDigits(std::int32_t N) {
  if (N < 0) return {};
  return std::to_wstring(N);
}

void SplitProxyServer(std::wstring_view Value, std::wstring& Host, std::int32_t& Port) {
  Host = TextBefore(Value, L":");
  Port = ProfileInteger(TextAfter(Value, L":"), 0);
}

std::wstring ModuleDirFromPath(std::wstring_view ModulePath) {
  const std::size_t cut = ModulePath.find_last_of(L"\\:");
  std::wstring dir(cut == std::wstring_view::npos ? std::wstring_view{} : ModulePath.substr(0, cut + 1));
  if (dir.empty() || dir.back() != L'\\') dir += L'\\';
  return dir;
}
