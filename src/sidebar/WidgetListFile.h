// LockWidgets.txt / UnLockWidgets.txt: one line per widget, ANSI code page, CR LF, no BOM.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

class EWidgetListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The lines of the file (empty lines kept); none when the file does not exist.
std::vector<std::wstring> ReadWidgetList(const std::wstring& Path);

// Rewrites the file whole; raises EWidgetListError when it cannot be written.
void WriteWidgetList(const std::wstring& Path, const std::vector<std::wstring>& Lines);
