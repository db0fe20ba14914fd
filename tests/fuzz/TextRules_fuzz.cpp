// libFuzzer target for the text rules that read untrusted text: profile integers, the
// text cutters (weather pages, proxy values, list lines), version comparison and the
// signature text of a version file.
// The input is read as UTF-16 code units; the first unit picks the separator length.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ProfileValue.h"
#include "UpdateSignature.h"
#include "VersionCompare.h"
#include "ZekText.h"

namespace {

void Check(bool Holds) {
  if (!Holds) std::abort();
}

void IntegerRules(const std::wstring& Text) {
  const auto value = ParseProfileInteger(Text);
  if (value) Check(ParseProfileInteger(std::to_wstring(*value)) == value);
}

void CutterRules(const std::wstring& Text, const std::wstring& Separator) {
  const std::wstring before = TextBefore(Text, Separator);
  const std::wstring after = TextAfter(Text, Separator);
  if (before == Text && after == Text) return;  // not found
  Check(before.size() + Separator.size() + after.size() == Text.size());
  Check(Text.compare(0, before.size(), before) == 0);

  if (!Text.empty() && !Separator.empty()) {
    const auto parts = SplitText(Text, Separator);
    std::wstring joined;
    for (std::size_t i = 0; i < parts.size(); ++i) joined += (i ? Separator : L"") + parts[i];
    Check(joined == Text);
  }

  std::wstring output = L"\x1";
  TextBetween(Text, Separator, Separator, output);
  Check(output == L"\x1" || (output.size() <= 65535 && Text.find(output) != std::wstring::npos));
}

void VersionRules(const std::wstring& A, const std::wstring& B) {
  Check(!UpdateAvailable(A, A));
  Check(!(UpdateAvailable(A, B) && UpdateAvailable(B, A)));
}

// One spelling per signature: what decodes encodes back to the very same text.
void SignatureTextRules(const std::wstring& Text) {
  const auto bytes = DecodeBase64(Text);
  if (!bytes) return;
  const std::string again = EncodeBase64(*bytes);
  Check(std::wstring(again.begin(), again.end()) == Text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  std::wstring text;
  for (std::size_t i = 0; i + 1 < Size; i += 2) text += static_cast<wchar_t>(Data[i] | (Data[i + 1] << 8));
  if (text.empty()) return 0;
  const std::size_t cut = std::min<std::size_t>(text[0] % 4, text.size() - 1);
  const std::wstring separator = text.substr(1, cut);
  const std::wstring body = text.substr(1 + cut);

  IntegerRules(body);
  SignatureTextRules(body);
  CutterRules(body, separator);
  const std::size_t half = body.size() / 2;
  VersionRules(body.substr(0, half), body.substr(half));
  return 0;
}
