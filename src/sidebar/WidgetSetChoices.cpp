#include "WidgetSetChoices.h"

#include "ZekText.h"

std::vector<std::wstring> MonitorItems(std::int32_t MonitorCount) {
  std::vector<std::wstring> items;
  for (std::int32_t i = 0; i < MonitorCount; ++i) items.push_back(IntToDigits(i));
  return items;
}

std::int32_t MonitorItemIndex(const std::vector<std::wstring>& Items, std::int32_t Monitor) {
  const std::wstring text = std::to_wstring(Monitor);
  for (std::size_t i = 0; i < Items.size(); ++i)
    if (Items[i] == text) return static_cast<std::int32_t>(i);
  return -1;
}

std::wstring SkinName(const std::wstring& Path) {
  const std::size_t slash = Path.find_last_of(L'\\');
  const std::wstring name = slash == std::wstring::npos ? Path : Path.substr(slash + 1);
  return TextBefore(name, L".");
}

std::int32_t SkinItemIndex(const std::vector<std::wstring>& Paths, const std::wstring& Current,
                           const TSameText& SameText) {
  for (std::size_t i = 0; i < Paths.size(); ++i)
    if (SameText(Paths[i], Current)) return static_cast<std::int32_t>(i);
  return -1;
}

std::wstring SkinToApply(const std::wstring& SkinDir, const std::wstring& SelectedName, bool HasSelection,
                         const std::wstring& Current) {
  if (!HasSelection) return Current;
  return SkinDir + SelectedName + L".png";
}

std::int32_t WidgetInvFromText(const std::wstring& Text) {
  std::size_t from = Text.find_first_not_of(L' ');
  const std::size_t to = Text.find_last_not_of(L' ');
  if (from == std::wstring::npos) return kWidgetInvMin;
  bool negative = false;
  if (Text[from] == L'-' || Text[from] == L'+') {
    negative = Text[from] == L'-';
    ++from;
  }
  if (from > to) return kWidgetInvMin;
  std::int64_t value = 0;
  for (std::size_t i = from; i <= to; ++i) {
    if (Text[i] < L'0' || Text[i] > L'9') return kWidgetInvMin;
    // Saturates: any longer run of digits is beyond the range anyway.
    if (value <= kWidgetInvMax) value = value * 10 + (Text[i] - L'0');
  }
  if (negative) value = -value;
  if (value < kWidgetInvMin) return kWidgetInvMin;
  if (value > kWidgetInvMax) return kWidgetInvMax;
  return static_cast<std::int32_t>(value);
}
