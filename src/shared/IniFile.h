// A profile (INI) file bound to one path, over the platform's private-profile functions.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "ProfileValue.h"

// Raised when the system refuses a write (read-only file, unwritable directory).
class EIniFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TIniFile final : public IProfileReader {
 public:
  explicit TIniFile(std::wstring FileName) : FFileName(std::move(FileName)) {}

  const std::wstring& FileName() const { return FFileName; }

  std::wstring ReadString(const std::wstring& Section, const std::wstring& Key,
                          const std::wstring& Default) const override;

  // Each write goes to the file at once; a refused write raises EIniFileError.
  void WriteString(const std::wstring& Section, const std::wstring& Key, const std::wstring& Value);
  void WriteInteger(const std::wstring& Section, const std::wstring& Key, std::int32_t Value);
  void WriteBool(const std::wstring& Section, const std::wstring& Key, bool Value);

 private:
  std::wstring FFileName;
};
