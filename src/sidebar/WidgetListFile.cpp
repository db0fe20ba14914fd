#include "WidgetListFile.h"

#include <windows.h>

#include "Handles.h"

namespace {

std::wstring FromAnsi(const std::string& Text) {
  if (Text.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), wide.data(), n);
  return wide;
}

std::string ToAnsi(const std::wstring& Text) {
  if (Text.empty()) return {};
  const int n =
      ::WideCharToMultiByte(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), narrow.data(), n, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::vector<std::wstring> ReadWidgetList(const std::wstring& Path) {
  const TKernelHandle file(::CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                         nullptr));
  std::vector<std::wstring> lines;
  if (file.get() == INVALID_HANDLE_VALUE) return lines;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);

  const std::wstring text = FromAnsi(bytes);
  std::size_t from = 0;
  // A line ends at CR LF, LF or a bare CR, as lists written by hand may have them.
  while (from < text.size()) {
    std::size_t end = text.find_first_of(L"\r\n", from);
    if (end == std::wstring::npos) end = text.size();
    lines.push_back(text.substr(from, end - from));
    from = end + 1;
    if (end < text.size() && text[end] == L'\r' && from < text.size() && text[from] == L'\n') ++from;
  }
  return lines;
}

void WriteWidgetList(const std::wstring& Path, const std::vector<std::wstring>& Lines) {
  std::string bytes;
  for (const std::wstring& line : Lines) bytes += ToAnsi(line) + "\r\n";
  const TKernelHandle file(::CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) throw EWidgetListError("cannot create widget list");
  DWORD written = 0;
  if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    throw EWidgetListError("cannot write widget list");
}
