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

namespace {

void AppendUtf8(std::string& Out, char32_t Cp) {
  if (Cp < 0x80) {
    Out += static_cast<char>(Cp);
  } else if (Cp < 0x800) {
    Out += static_cast<char>(0xC0 | (Cp >> 6));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  } else if (Cp < 0x10000) {
    Out += static_cast<char>(0xE0 | (Cp >> 12));
    Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (Cp >> 18));
    Out += static_cast<char>(0x80 | ((Cp >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  }
}

}  // namespace

std::string EncodeUtf8(std::wstring_view Text) {
  std::string out;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    auto cp = static_cast<char32_t>(Text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      cp &= 0xFFFF;
      if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < Text.size()) {
        const auto low = static_cast<char32_t>(Text[i + 1] & 0xFFFF);
        if (low >= 0xDC00 && low <= 0xDFFF) {
          cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
    AppendUtf8(out, cp);
  }
  return out;
}
