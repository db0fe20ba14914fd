// What the settings dialog lists, selects and hands back: monitor items, skin names,
// the widget gap typed in its spin box. Portable: paths are compared by a function the
// shell gives (the platform's own case folding).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using TSameText = std::function<bool(const std::wstring&, const std::wstring&)>;

// "0", "1", ... one item per attached monitor.
std::vector<std::wstring> MonitorItems(std::int32_t MonitorCount);

// The item whose text is Monitor's decimal text; -1 when there is none.
std::int32_t MonitorItemIndex(const std::vector<std::wstring>& Items, std::int32_t Monitor);

// A skin's name: its file name (the part after the last backslash) before the first ".".
std::wstring SkinName(const std::wstring& Path);

// The skin whose full path is Current under SameText; -1 when there is none.
std::int32_t SkinItemIndex(const std::vector<std::wstring>& Paths, const std::wstring& Current,
                           const TSameText& SameText);

// The skin to hand the sidebar: SkinDir + name + ".png" for the item shown, or Current
// when the list has no selection (no skin file would be named ".png").
std::wstring SkinToApply(const std::wstring& SkinDir, const std::wstring& SelectedName, bool HasSelection,
                         const std::wstring& Current);

inline constexpr std::int32_t kWidgetInvMin = 1;
inline constexpr std::int32_t kWidgetInvMax = 100;

// The spin box's value for its text: a decimal integer (spaces around it allowed) brought
// into 1..100; any other text counts as 1.
std::int32_t WidgetInvFromText(const std::wstring& Text);
