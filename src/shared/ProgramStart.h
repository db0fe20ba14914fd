// Starting another program of the installation, such as "Kelvara.exe".
#pragma once

#include <windows.h>

#include <string>

// Starts Exe with no arguments, shown with Show, through the Unicode process API (so any
// installation path works). The path is the program name and is quoted on the command
// line, so a directory with spaces cannot start another program. Returns whether it started.
bool StartProgram(const std::wstring& Exe, int Show = SW_SHOW, const wchar_t* WorkingDir = nullptr);
