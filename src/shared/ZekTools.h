// ZekTools: the suite's utility routines. The text routines are portable (ZekText.h);
// these ask the platform.
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "ZekText.h"

// File name of the module holding this code: the executable in a program, the library
// in a plug-in. Read into 261 characters; a longer path comes back cut.
std::wstring GetModuleFile();

// Directory of GetModuleFile, always ending in a backslash.
std::wstring GetModuleDir();

// A value of FileName's version resource ("FileVersion", ...) in its first translation;
// the empty text when the file, the resource, the translation or the value is missing.
std::wstring GetFileVersionValue(const std::wstring& FileName, const std::wstring& ValueName);

// Raised by GetSystemProxy when the per-user Internet settings key cannot be opened or
// its "ProxyEnable" is absent or not an integer. Callers decide: the updater gives up its
// check, the sidebar's proxy query lets it reach its error boundary.
class ERegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// True when the per-user system proxy is enabled; then Host and Port hold "ProxyServer"
// split at its first colon. When false, Host and Port are not touched.
bool GetSystemProxy(std::wstring& Host, std::int32_t& Port);

// Pushes the 32-bit premultiplied image in SourceDC onto Wnd, which becomes layered and
// stays where it is. Does nothing where the platform has no UpdateLayeredWindow.
void UpdateLayeredFromDC(HWND Wnd, std::int32_t Width, std::int32_t Height, HDC SourceDC, BYTE Alpha);

// Receives every matched entry, "." and ".." included, with its full path.
using TFindFilesCallback = void (*)(const std::wstring& FullPath, const WIN32_FIND_DATAW& Record);

// Appends Dir\<name> of every file matching Mask (never names beginning with "."),
// files of a directory before those of its subdirectories. List is never cleared.
void FindFiles(std::vector<std::wstring>& List, const std::wstring& Dir, const std::wstring& Mask, bool Recursive,
               TFindFilesCallback Callback);

// True when Path names an existing file (not a directory).
bool IsFile(const std::wstring& Path);

// Gives back as many pages of this process's working set as the system allows.
void TrimWorkingSet();
