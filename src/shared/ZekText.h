// Text routines of ZekTools. Portable: built into the logic library and tested natively.
// Positions and lengths count UTF-16 code units on Windows (wchar_t).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A to Z become a to z; no other character changes.
std::wstring LowerAscii(std::wstring_view Text);

// Equal texts when ASCII letters are compared without case (nothing else folds).
bool SameTextAscii(std::wstring_view A, std::wstring_view B);

// Text before the first Separator (ASCII letters compared without case); the whole
// Text when Separator is empty or absent.
std::wstring TextBefore(std::wstring_view Text, std::wstring_view Separator);

// Text after the first Separator (same search as TextBefore); the whole Text when absent.
std::wstring TextAfter(std::wstring_view Text, std::wstring_view Separator);

// Sets Output to the text between the first StartMark and the first EndMark within the
// 65,535 characters behind it. Either mark missing (or empty): Output stays as it was.
void TextBetween(std::wstring_view Source, std::wstring_view StartMark, std::wstring_view EndMark,
                 std::wstring& Output);

// Exact, non-overlapping split; empty elements are kept, an empty Text gives no element.
std::vector<std::wstring> SplitText(std::wstring_view Text, std::wstring_view Separator);

// Decimal digits of N without sign or padding; the empty text for a negative N.
std::wstring IntToDigits(std::int32_t N);

// Host and port of a "ProxyServer" value, split at its first colon only. Port is the
// integer read of the text after it, 0 when that is not an integer.
void SplitProxyServer(std::wstring_view Value, std::wstring& Host, std::int32_t& Port);

// Everything up to and including the last backslash or drive colon, ending in a backslash.
std::wstring ModuleDirFromPath(std::wstring_view ModulePath);
