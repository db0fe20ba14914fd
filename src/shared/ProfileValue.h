// How the texts of profile (INI) files become values. Portable logic; the file access
// itself is the Win32 TIniFile.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Decimal, or hexadecimal after "0x" or "$", with an optional sign and surrounding
// blanks. Anything else, or a value outside 32 bits, is not an integer.
std::optional<std::int32_t> ParseProfileInteger(std::wstring_view Text);

// The integer of Text, or Default when Text is not an integer (missing keys read as "").
std::int32_t ProfileInteger(std::wstring_view Text, std::int32_t Default);

// Any non-zero integer is true; a text that is not an integer gives Default.
bool ProfileBool(std::wstring_view Text, bool Default);

// An enumeration keeps only the low byte of the integer read; values outside the
// named ones are kept as they are.
template <class Enum>
Enum ProfileEnum(std::wstring_view Text, Enum Default) {
  const std::int32_t value = ProfileInteger(Text, static_cast<std::int32_t>(Default));
  return static_cast<Enum>(static_cast<std::uint8_t>(value & 0xFF));
}

// Reads one key of one section as text; Default when the key is missing.
// Implemented by the Win32 TIniFile and by in-memory tables in the tests.
class IProfileReader {
 public:
  virtual std::wstring ReadString(const std::wstring& Section, const std::wstring& Key,
                                  const std::wstring& Default) const = 0;

  std::int32_t ReadInteger(const std::wstring& Section, const std::wstring& Key, std::int32_t Default) const {
    return ProfileInteger(ReadString(Section, Key, L""), Default);
  }
  bool ReadBool(const std::wstring& Section, const std::wstring& Key, bool Default) const {
    return ProfileBool(ReadString(Section, Key, L""), Default);
  }
  template <class Enum>
  Enum ReadEnum(const std::wstring& Section, const std::wstring& Key, Enum Default) const {
    return ProfileEnum(ReadString(Section, Key, L""), Default);
  }

 protected:
  ~IProfileReader() = default;
};
