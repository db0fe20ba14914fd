#include "IniFile.h"

#include <windows.h>

#include <vector>

std::wstring TIniFile::ReadString(const std::wstring& Section, const std::wstring& Key,
                                  const std::wstring& Default) const {
  // The profile API cuts a value at the buffer size without saying so; grow until it fits.
  std::vector<wchar_t> buffer(256);
  for (;;) {
    const DWORD got = ::GetPrivateProfileStringW(Section.c_str(), Key.c_str(), Default.c_str(), buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), FFileName.c_str());
    if (got + 1 < buffer.size() || buffer.size() >= 1u << 20) return std::wstring(buffer.data(), got);
    buffer.resize(buffer.size() * 4);
  }
}

void TIniFile::WriteString(const std::wstring& Section, const std::wstring& Key, const std::wstring& Value) {
  if (!::WritePrivateProfileStringW(Section.c_str(), Key.c_str(), Value.c_str(), FFileName.c_str()))
    throw EIniFileError("cannot write profile key");
}

void TIniFile::WriteInteger(const std::wstring& Section, const std::wstring& Key, std::int32_t Value) {
  WriteString(Section, Key, std::to_wstring(Value));
}

void TIniFile::WriteBool(const std::wstring& Section, const std::wstring& Key, bool Value) {
  WriteString(Section, Key, Value ? L"1" : L"0");
}
