// The directory an update is made from: every file and folder below it, as the archive will
// hold them. Win32.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

class EPublishError : public std::runtime_error {
 public:
  explicit EPublishError(const std::wstring& What);
  const std::wstring& Text() const { return FText; }

 private:
  std::wstring FText;
};

struct TSourceItem {
  std::wstring Name;  // relative, '\' separators
  bool Directory = false;
  DWORD Attributes = 0;
  FILETIME Written{};
};

// Parents before their contents, names in ordinal order. Throws EPublishError for a name
// the updater refuses, for a link
// (it would be installed as what it points to), for a top-level "Update" (the updater's
// own working folder) and for a tree without any file.
std::vector<TSourceItem> ListSourceTree(const std::wstring& Dir);

// The whole file; throws EPublishError.
std::string ReadWholeFile(const std::wstring& Path);
