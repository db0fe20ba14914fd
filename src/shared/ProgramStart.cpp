#include "ProgramStart.h"

bool StartProgram(const std::wstring& Exe, int Show, const wchar_t* WorkingDir) {
  std::wstring commandLine = L"\"" + Exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(Show);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(Exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, WorkingDir, &startup,
                        &process))
    return false;
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}
