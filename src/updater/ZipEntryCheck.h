// Whether an archive entry's name is a plain relative path inside the destination.
// A name that fails is never cleaned up: the whole archive is refused.
#pragma once

#include <string>
#include <string_view>

enum class TEntryNameFault {
  None,
  Empty,
  EmbeddedNul,
  Absolute,          // leading separator: root, UNC, "\\?\" and "\\.\" prefixes
  Colon,             // drive letter or alternate data stream
  ParentOrSelf,      // a "." or ".." component
  EmptyComponent,    // "a//b"
  TrailingDotSpace,  // Windows would drop the dot or space and write another file
  ReservedDevice,    // CON, NUL.txt, COM1 ...
  BadCharacter,      // control characters and < > " | ? *
  ShortNameAlias,    // shaped like an 8.3 short name ("KELVAR~1.EXE"): may alias another file
};

// Name uses '/' or '\' as separators; a directory entry ends in one separator.
TEntryNameFault CheckEntryName(std::wstring_view Name);

// The name with '\' separators and without the directory's trailing separator.
std::wstring NormalizeEntryName(std::wstring_view Name);

// Destination directory (with or without a trailing backslash) plus a checked name.
std::wstring EntryTargetPath(std::wstring_view DestDir, std::wstring_view Name);

// A name ending in a separator is a directory entry.
bool IsDirectoryName(std::wstring_view Name);

const char* EntryNameFaultText(TEntryNameFault Fault);
