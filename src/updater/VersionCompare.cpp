#include "VersionCompare.h"

#include "ProfileValue.h"
#include "ZekText.h"

TVersionParts ParseVersion(std::wstring_view Text) {
  TVersionParts parts{};
  const auto texts = SplitText(Text, L".");
  for (std::size_t i = 0; i < parts.size() && i < texts.size(); ++i) parts[i] = ProfileInteger(texts[i], 0);
  return parts;
}

bool UpdateAvailable(std::wstring_view Installed, std::wstring_view Announced) {
  return ParseVersion(Announced) > ParseVersion(Installed);
}
