#include "ZipEntryCheck.h"

#include <array>

#include "ZekText.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'/' || c == L'\\'; }

// Windows maps these to devices in any directory and with any extension.
bool IsReservedDevice(std::wstring_view Component) {
  std::wstring_view base = Component.substr(0, Component.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
  static constexpr std::array<std::wstring_view, 6> kPlain = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (const auto name : kPlain)
    if (SameTextAscii(base, name)) return true;
  if (base.size() == 4 && (SameTextAscii(base.substr(0, 3), L"COM") || SameTextAscii(base.substr(0, 3), L"LPT"))) {
    const wchar_t digit = base[3];
    // Superscript one to three count as digits for these names too.
    return (digit >= L'0' && digit <= L'9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
  }
  return false;
}

// A component the file system could take for the 8.3 short name of another file: at most
// eight characters, a tilde and digits at its end, then at most three after a dot.
bool IsShortNameShaped(std::wstring_view Component) {
  const std::size_t dot = Component.rfind(L'.');
  const std::wstring_view base = Component.substr(0, dot);
  if (base.size() > 8 || (dot != std::wstring_view::npos && Component.size() - dot - 1 > 3)) return false;
  const std::size_t tilde = base.rfind(L'~');
  if (tilde == std::wstring_view::npos || tilde == 0 || tilde + 1 == base.size()) return false;
  for (std::size_t i = tilde + 1; i < base.size(); ++i)
    if (base[i] < L'0' || base[i] > L'9') return false;
  return true;
}

TEntryNameFault CheckComponent(std::wstring_view c) {
  if (c.empty()) return TEntryNameFault::EmptyComponent;
  if (c == L"." || c == L"..") return TEntryNameFault::ParentOrSelf;
  for (const wchar_t ch : c) {
    if (ch < 0x20 || ch == L'<' || ch == L'>' || ch == L'"' || ch == L'|' || ch == L'?' || ch == L'*')
      return TEntryNameFault::BadCharacter;
  }
  if (c.back() == L'.' || c.back() == L' ') return TEntryNameFault::TrailingDotSpace;
  if (IsReservedDevice(c)) return TEntryNameFault::ReservedDevice;
  if (IsShortNameShaped(c)) return TEntryNameFault::ShortNameAlias;
  return TEntryNameFault::None;
}

}  // namespace

bool IsDirectoryName(std::wstring_view Name) { return !Name.empty() && IsSeparator(Name.back()); }

TEntryNameFault CheckEntryName(std::wstring_view Name) {
  if (Name.empty()) return TEntryNameFault::Empty;
  if (Name.find(L'\0') != std::wstring_view::npos) return TEntryNameFault::EmbeddedNul;
  if (IsSeparator(Name.front())) return TEntryNameFault::Absolute;
  if (Name.find(L':') != std::wstring_view::npos) return TEntryNameFault::Colon;
  std::wstring_view rest = Name;
  if (IsDirectoryName(rest)) rest.remove_suffix(1);
  while (true) {
    std::size_t end = 0;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    if (const auto fault = CheckComponent(rest.substr(0, end)); fault != TEntryNameFault::None) return fault;
    if (end == rest.size()) return TEntryNameFault::None;
    rest.remove_prefix(end + 1);
  }
}

std::wstring NormalizeEntryName(std::wstring_view Name) {
  std::wstring out(Name);
  for (auto& c : out)
    if (c == L'/') c = L'\\';
  if (!out.empty() && out.back() == L'\\') out.pop_back();
  return out;
}

std::wstring EntryTargetPath(std::wstring_view DestDir, std::wstring_view Name) {
  std::wstring path(DestDir);
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path + NormalizeEntryName(Name);
}

const char* EntryNameFaultText(TEntryNameFault Fault) {
  switch (Fault) {
    case TEntryNameFault::None: return "plain relative path";
    case TEntryNameFault::Empty: return "empty name";
    case TEntryNameFault::EmbeddedNul: return "embedded NUL";
    case TEntryNameFault::Absolute: return "absolute path";
    case TEntryNameFault::Colon: return "drive letter or stream name";
    case TEntryNameFault::ParentOrSelf: return "'.' or '..' component";
    case TEntryNameFault::EmptyComponent: return "empty path component";
    case TEntryNameFault::TrailingDotSpace: return "component ending in a dot or space";
    case TEntryNameFault::ReservedDevice: return "reserved device name";
    case TEntryNameFault::BadCharacter: return "character not allowed in file names";
    case TEntryNameFault::ShortNameAlias: return "component shaped like a short file name";
  }
  return "unknown";
}
