// The publishing tool's command line: publish an update, or make a signing key. Portable.
#pragma once

#include <span>
#include <string>
#include <string_view>

struct TPublishRequest {
  enum TMode { Publish, NewKey } Mode = Publish;
  std::wstring From;     // the directory holding the new files, as installed
  std::wstring Version;  // dotted decimal
  std::wstring Notes;    // UTF-8 text file, one release-note line per line
  std::wstring Out;      // where Update6.txt and Update6.zip go
  std::wstring Key;      // private key file: signs when given (Publish), made (NewKey)
};

inline constexpr wchar_t kPublishUsage[] =
    L"usage: publish --from DIR --version A.B.C.D --notes FILE --out DIR [--key FILE]\n"
    L"       publish --new-key FILE\n";

// Args are those after the program name. False with Error on a mistake.
bool ParsePublishArguments(std::span<const std::wstring> Args, TPublishRequest& Request, std::wstring& Error);

// One to four parts of at most nine decimal digits, not all zero: a version the updater reads
// as written and can offer (it counts any other part as 0).
bool IsPublishableVersion(std::wstring_view Version);
