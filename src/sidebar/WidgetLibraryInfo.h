// What the gallery knows of an installed widget: read from its library's information
// exports by loading it for a moment.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct TWidgetInfo {
  std::wstring FileName;  // full path of the library
  std::wstring Name, Icon, Vision, Description;
};

// Every "Widget.dll" in WidgetsDir and its subdirectories at any depth, in case-insensitive
// order of the full paths (the platform's own comparison of texts).
std::vector<std::wstring> FindWidgetLibraries(const std::wstring& WidgetsDir);

// Loads FileName, calls whichever of GetName, GetIcon, GetVision, GetDescription it
// exports (a missing one leaves its field empty) and unloads it again. Nothing when the
// file cannot be loaded as a library.
std::optional<TWidgetInfo> ReadWidgetInfo(const std::wstring& FileName);
