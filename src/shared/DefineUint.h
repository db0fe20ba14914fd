// Enumerations and private window messages every deliverable agrees on.
// Portable: no Windows header, so the logic libraries can use it natively too.
#pragma once

#include <cstdint>

// Each enumeration is one byte; files store its ordinal as a decimal integer.
// A value read from a file may lie outside the named values (only the low byte
// of the integer is kept), so readers compare against the named values only.
enum TWinDesk : std::uint8_t {
  wdNormal = 0,  // "普通"
  wdTop = 1,     // "总在最前"
  wdDesk = 2,    // "嵌入桌面"
};

enum TSidebarAlign : std::uint8_t {
  saLeft = 0,
  saRight = 1,
};

enum TLanguage : std::uint8_t {
  lgEnglish = 0,
  lgGB2312 = 1,
};

enum TProxyType : std::uint8_t {
  ptNone = 0,
  ptIE = 1,       // the per-user system proxy
  ptOptions = 2,  // ProxySvr/ProxyPort of the global options file
};

// Private window messages. None carries data beyond its two parameters;
// interface pointers travel as the integer value of the pointer.
constexpr unsigned int WM_SIDEBAR_LOADWIDGETS = 0x0845;   // wParam 0: UnLockWidgets.txt, else LockWidgets.txt
constexpr unsigned int WM_SIDEBAR_SAVEANDCLOSE = 0x0846;  // from outside the suite
constexpr unsigned int WM_WIDGET_REGISTER = 0x0BD1;       // wParam: IWidget*
constexpr unsigned int WM_WIDGET_UNREGISTER = 0x0BD2;     // wParam: IWidget*
constexpr unsigned int WM_WIDGET_SHOWN = 0x0BD3;          // wParam: IWidget*
constexpr unsigned int WM_WIDGET_UNDOCKED = 0x0BD4;       // wParam: IWidget*
constexpr unsigned int WM_WIDGET_DOCKED = 0x0BD5;         // wParam: IWidget*
constexpr unsigned int WM_WIDGET_DRAGGING = 0x0BD6;       // wParam: IWidget*
// Same number as WM_WIDGET_UNREGISTER: the receivers differ (weather window
// versus sidebar window), so the two meanings never meet.
constexpr unsigned int WM_GETWEATHER = 0x0BD2;
constexpr unsigned int WM_IMAGEBUTTON_PAINT = 0x2728;

// The message the main application's window closes on.
constexpr unsigned int WM_KELVARA_CLOSE = 0x0847;
