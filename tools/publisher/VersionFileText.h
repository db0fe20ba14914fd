// The version file the publishing tool writes: UTF-16 with a byte-order mark, as the updater
// reads it under any code page; the release notes as keys of "VersionInfo". Portable.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Longest value the updater reads from its version file.
inline constexpr std::size_t kVersionFileValueMax = 2047;

// Release notes from UTF-8 text (a byte-order mark is dropped): one line each, CR LF or LF;
// blanks at both ends of a line go, as the profile reader would drop them, and so do empty
// lines at the end. False with Error for text that is not UTF-8, a control character other
// than a tab, or a line too long.
bool ParseReleaseNotes(std::string_view Utf8, std::vector<std::wstring>& Lines, std::wstring& Error);

// The whole file as bytes; no "Signature" key when Signature is empty. A note in quotes is
// written so that the profile reader gives it back with its quotes.
std::string VersionFileBytes(std::wstring_view Version, const std::vector<std::wstring>& Notes,
                             std::string_view Signature);
