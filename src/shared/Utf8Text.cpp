#include "Utf8Text.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char B) { return (B & 0xC0) == 0x80; }

// The byte after a lead byte has a narrower range where the lead alone would allow overlong
// forms, surrogates or values beyond U+10FFFF; checking it there keeps every rejected prefix
// as short as possible, so each maximal ill-formed piece is one error.
bool SecondByteFits(unsigned char Lead, unsigned char B) {
  switch (Lead) {
    case 0xE0: return B >= 0xA0 && B <= 0xBF;
    case 0xED: return B >= 0x80 && B <= 0x9F;
    case 0xF0: return B >= 0x90 && B <= 0xBF;
    case 0xF4: return B >= 0x80 && B <= 0x8F;
    default: return IsContinuation(B);
  }
}

// Reads the character at At and moves At past it; false (At past the ill-formed piece)
// when the bytes there are not UTF-8.
bool NextCodePoint(std::string_view Bytes, std::size_t& At, char32_t& CodePoint) {
  const auto lead = static_cast<unsigned char>(Bytes[At++]);
  std::size_t extra = 0;
  if (lead < 0x80) {
    CodePoint = lead;
    return true;
  }
  if (lead >= 0xC2 && lead <= 0xDF)
    extra = 1, CodePoint = lead & 0x1F;
  else if (lead >= 0xE0 && lead <= 0xEF)
    extra = 2, CodePoint = lead & 0x0F;
  else if (lead >= 0xF0 && lead <= 0xF4)
    extra = 3, CodePoint = lead & 0x07;
  else
    return false;
  std::size_t taken = 0;
  while (taken < extra && At < Bytes.size()) {
    const auto b = static_cast<unsigned char>(Bytes[At]);
    if (taken == 0 ? !SecondByteFits(lead, b) : !IsContinuation(b)) break;
    CodePoint = (CodePoint << 6) | (b & 0x3F);
    ++At, ++taken;
  }
  return taken == extra;
}

}  // namespace

void AppendCodePoint(std::wstring& Out, char32_t CodePoint) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (CodePoint >= 0x10000) {
      CodePoint -= 0x10000;
      Out += static_cast<wchar_t>(0xD800 + (CodePoint >> 10));
      Out += static_cast<wchar_t>(0xDC00 + (CodePoint & 0x3FF));
      return;
    }
  }
  Out += static_cast<wchar_t>(CodePoint);
}

bool DecodeUtf8Strict(std::string_view Bytes, std::wstring& Out) {
  Out.clear();
  for (std::size_t at = 0; at < Bytes.size();) {
    char32_t cp = 0;
    if (!NextCodePoint(Bytes, at, cp)) return false;
    AppendCodePoint(Out, cp);
  }
  return true;
}

std::wstring DecodeUtf8Lenient(std::string_view Bytes) {
  std::wstring out;
  out.reserve(Bytes.size());
  for (std::size_t at = 0; at < Bytes.size();) {
    char32_t cp = 0;
    AppendCodePoint(out, NextCodePoint(Bytes, at, cp) ? cp : kReplacement);
  }
  return out;
}
