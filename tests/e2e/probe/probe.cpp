// probe.exe: the e2e tests' eyes and hands inside Wine. Prints ASCII-only JSON lines.
//
//   probe windows [--class C] [--title T] [--pid P]      top-level windows and their facts
//   probe wait [--class C] [--title T] [--pid P] [--timeout MS]   first match, or exit 1
//   probe wait-gone HWND [--timeout MS]                 exit 0 once the window is gone
//   probe info HWND                                     one window's facts
//   probe children HWND                                 child windows (hwnd, class, text, id, rect)
//   probe click HWND TEXT                               presses the child button TEXT ('&' ignored)
//   probe send|post HWND MSG [WPARAM [LPARAM]]          numbers in decimal or 0x hex
//   probe kill PID                                      ends a Windows process by its pid
//   probe mutex NAME                                    {"exists": true|false}
//   probe cursor X Y                                    moves the mouse pointer
//   probe move HWND X Y W H                             moves and sizes a window
//   probe settext HWND TEXT                             sets a window's text (an edit's contents)
//   probe activate HWND                                 makes a window the foreground window
//   probe input HWND                                    the input state of the window's thread
//
// Text arguments may be given as "hex:" followed by UTF-8 bytes in hexadecimal, so that
// Chinese captions pass any command line unchanged.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::wstring Arg(const wchar_t* raw) {
  std::wstring text = raw;
  if (text.rfind(L"hex:", 0) != 0) return text;
  std::string bytes;
  for (size_t i = 4; i + 1 < text.size(); i += 2) bytes += static_cast<char>(std::wcstoul(text.substr(i, 2).c_str(), nullptr, 16));
  const int n = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return wide;
}

unsigned long long Number(const wchar_t* text) { return std::wcstoull(text, nullptr, 0); }
HWND WindowArg(const wchar_t* text) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(Number(text))); }

std::string Json(const std::wstring& text) {
  std::string out = "\"";
  for (wchar_t c : text) {
    if (c == L'"' || c == L'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out + "\"";
}

void Print(const std::string& line) {
  const std::string text = line + "\n";
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::wstring WindowText(HWND wnd) {
  wchar_t buffer[1024] = {};
  // Another process's window: WM_GETTEXT with a bounded wait.
  DWORD_PTR got = 0;
  ::SendMessageTimeoutW(wnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &got);
  return buffer;
}

std::wstring ClassOf(HWND wnd) {
  wchar_t buffer[256] = {};
  ::GetClassNameW(wnd, buffer, 256);
  return buffer;
}

std::string Hex(UINT_PTR value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "\"0x%llx\"", static_cast<unsigned long long>(value));
  return buffer;
}

std::string RectJson(const RECT& r) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right, r.bottom);
  return buffer;
}

std::string Facts(HWND wnd) {
  RECT r{};
  ::GetWindowRect(wnd, &r);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(wnd, &pid);
  char buffer[512];
  std::snprintf(buffer, sizeof buffer,
                "\"rect\": [%ld, %ld, %ld, %ld], \"style\": %lu, \"exstyle\": %lu, \"visible\": %s, \"pid\": %lu",
                r.left, r.top, r.right, r.bottom, static_cast<unsigned long>(::GetWindowLongW(wnd, GWL_STYLE)),
                static_cast<unsigned long>(::GetWindowLongW(wnd, GWL_EXSTYLE)),
                ::IsWindowVisible(wnd) ? "true" : "false", static_cast<unsigned long>(pid));
  return "{\"hwnd\": " + Hex(reinterpret_cast<UINT_PTR>(wnd)) + ", \"class\": " + Json(ClassOf(wnd)) +
         ", \"title\": " + Json(WindowText(wnd)) + ", \"owner\": " +
         Hex(reinterpret_cast<UINT_PTR>(::GetWindow(wnd, GW_OWNER))) + ", \"parent\": " +
         Hex(reinterpret_cast<UINT_PTR>(::GetAncestor(wnd, GA_PARENT))) + ", " + buffer + "}";
}

// What the window's thread has: active, focus and capture windows, whether it runs the
// system's move loop, the foreground window, and the X window Wine shows the window in.
int InputState(HWND wnd) {
  if (!::IsWindow(wnd)) return 1;
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(wnd, nullptr), &gui)) return 1;
  const auto handle = [](HWND h) { return Hex(reinterpret_cast<UINT_PTR>(h)); };
  char flags[96];
  std::snprintf(flags, sizeof flags, "\"in_move_size\": %s, \"x_window\": %llu",
                (gui.flags & GUI_INMOVESIZE) ? "true" : "false",
                static_cast<unsigned long long>(
                    reinterpret_cast<UINT_PTR>(::GetPropW(wnd, L"__wine_x11_whole_window"))));
  Print("{\"foreground\": " + handle(::GetForegroundWindow()) + ", \"active\": " + handle(gui.hwndActive) +
        ", \"focus\": " + handle(gui.hwndFocus) + ", \"capture\": " + handle(gui.hwndCapture) +
        ", \"move_size\": " + handle(gui.hwndMoveSize) + ", " + flags + "}");
  return 0;
}

struct TFilter {
  std::wstring Class, Title;
  bool HasClass = false, HasTitle = false;
  DWORD Pid = 0;
  DWORD Timeout = 10000;

  bool Matches(HWND wnd) const {
    if (HasClass && ClassOf(wnd) != Class) return false;
    if (HasTitle && WindowText(wnd) != Title) return false;
    if (Pid) {
      DWORD pid = 0;
      ::GetWindowThreadProcessId(wnd, &pid);
      if (pid != Pid) return false;
    }
    return true;
  }
};

TFilter ReadFilter(int argc, wchar_t** argv, int from) {
  TFilter f;
  for (int i = from; i + 1 < argc; i += 2) {
    const std::wstring key = argv[i];
    if (key == L"--class") f.Class = Arg(argv[i + 1]), f.HasClass = true;
    else if (key == L"--title") f.Title = Arg(argv[i + 1]), f.HasTitle = true;
    else if (key == L"--pid") f.Pid = static_cast<DWORD>(Number(argv[i + 1]));
    else if (key == L"--timeout") f.Timeout = static_cast<DWORD>(Number(argv[i + 1]));
  }
  return f;
}

std::vector<HWND> TopLevel(const TFilter& filter) {
  struct TCollect {
    const TFilter* Filter;
    std::vector<HWND> Found;
  } collect{&filter, {}};
  ::EnumWindows(
      [](HWND wnd, LPARAM param) -> BOOL {
        auto* c = reinterpret_cast<TCollect*>(param);
        if (c->Filter->Matches(wnd)) c->Found.push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&collect));
  return collect.Found;
}

int Windows(const TFilter& filter) {
  std::string out = "[";
  for (HWND wnd : TopLevel(filter)) out += (out.size() > 1 ? ", " : "") + Facts(wnd);
  Print(out + "]");
  return 0;
}

int Wait(const TFilter& filter) {
  const ULONGLONG deadline = ::GetTickCount64() + filter.Timeout;
  do {
    const auto found = TopLevel(filter);
    if (!found.empty()) {
      Print(Facts(found.front()));
      return 0;
    }
    ::Sleep(50);
  } while (::GetTickCount64() < deadline);
  return 1;
}

int WaitGone(HWND wnd, DWORD timeout) {
  const ULONGLONG deadline = ::GetTickCount64() + timeout;
  while (::IsWindow(wnd)) {
    if (::GetTickCount64() >= deadline) return 1;
    ::Sleep(50);
  }
  return 0;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> found;
  ::EnumChildWindows(
      parent,
      [](HWND wnd, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

int ListChildren(HWND parent) {
  std::string out = "[";
  for (HWND wnd : Children(parent)) {
    char id[32];
    RECT r{};
    ::GetWindowRect(wnd, &r);
    std::snprintf(id, sizeof id, "%d", ::GetDlgCtrlID(wnd));
    out += (out.size() > 1 ? ", " : "") + std::string("{\"hwnd\": ") + Hex(reinterpret_cast<UINT_PTR>(wnd)) +
           ", \"class\": " + Json(ClassOf(wnd)) +
           ", \"text\": " + Json(WindowText(wnd)) + ", \"id\": " + id + ", \"rect\": " + RectJson(r) + "}";
  }
  Print(out + "]");
  return 0;
}

std::wstring WithoutAmpersand(std::wstring text) {
  std::wstring out;
  for (wchar_t c : text)
    if (c != L'&') out += c;
  return out;
}

int Click(HWND parent, const std::wstring& caption) {
  for (HWND wnd : Children(parent)) {
    if (WithoutAmpersand(WindowText(wnd)) == WithoutAmpersand(caption)) {
      ::PostMessageW(wnd, BM_CLICK, 0, 0);
      return 0;
    }
  }
  return 1;
}

int Message(bool send, int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  HWND wnd = WindowArg(argv[2]);
  const UINT msg = static_cast<UINT>(Number(argv[3]));
  const WPARAM wp = argc > 4 ? static_cast<WPARAM>(Number(argv[4])) : 0;
  const LPARAM lp = argc > 5 ? static_cast<LPARAM>(Number(argv[5])) : 0;
  if (!send) return ::PostMessageW(wnd, msg, wp, lp) ? 0 : 1;
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(wnd, msg, wp, lp, SMTO_ABORTIFHUNG, 10000, &result)) return 1;
  Print("{\"result\": " + std::to_string(static_cast<long long>(result)) + "}");
  return 0;
}

int SetText(HWND wnd, const std::wstring& text) {
  // Another process's window: WM_SETTEXT carries the string across, with a bounded wait.
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000,
                             &result))
    return 1;
  return result ? 0 : 1;
}

int Kill(DWORD pid) {
  HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (!process) return 1;
  const BOOL ok = ::TerminateProcess(process, 1);
  ::WaitForSingleObject(process, 5000);
  ::CloseHandle(process);
  return ok ? 0 : 1;
}

int MutexExists(const std::wstring& name) {
  HANDLE mutex = ::OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
  Print(std::string("{\"exists\": ") + (mutex ? "true" : "false") + "}");
  if (mutex) ::CloseHandle(mutex);
  return 0;
}

// Keeps a hidden window for Seconds (at most an hour): while one exists, Wine's desktop
// process stays, so it is not started again later by some test with that test's output pipe.
int Hold(DWORD Seconds) {
  HWND wnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"probe hold", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               nullptr, nullptr);
  if (!wnd) return 1;
  const ULONGLONG end = ::GetTickCount64() + 1000ULL * (Seconds < 3600 ? Seconds : 3600);
  MSG msg;
  while (::GetTickCount64() < end) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 500, QS_ALLINPUT);
  }
  ::DestroyWindow(wnd);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring command = argv[1];
  if (command == L"windows") return Windows(ReadFilter(argc, argv, 2));
  if (command == L"wait") return Wait(ReadFilter(argc, argv, 2));
  if (command == L"wait-gone" && argc >= 3) return WaitGone(WindowArg(argv[2]), ReadFilter(argc, argv, 3).Timeout);
  if (command == L"info" && argc >= 3) {
    HWND wnd = WindowArg(argv[2]);
    if (!::IsWindow(wnd)) return 1;
    Print(Facts(wnd));
    return 0;
  }
  if (command == L"children" && argc >= 3) return ListChildren(WindowArg(argv[2]));
  if (command == L"click" && argc >= 4) return Click(WindowArg(argv[2]), Arg(argv[3]));
  if (command == L"send") return Message(true, argc, argv);
  if (command == L"post") return Message(false, argc, argv);
  if (command == L"kill" && argc >= 3) return Kill(static_cast<DWORD>(Number(argv[2])));
  if (command == L"mutex" && argc >= 3) return MutexExists(Arg(argv[2]));
  if (command == L"cursor" && argc >= 4)
    return ::SetCursorPos(static_cast<int>(Number(argv[2])), static_cast<int>(Number(argv[3]))) ? 0 : 1;
  if (command == L"activate" && argc >= 3) return ::SetForegroundWindow(WindowArg(argv[2])) ? 0 : 1;
  if (command == L"input" && argc >= 3) return InputState(WindowArg(argv[2]));
  if (command == L"settext" && argc >= 4) return SetText(WindowArg(argv[2]), Arg(argv[3]));
  if (command == L"hold" && argc >= 3) return Hold(static_cast<DWORD>(Number(argv[2])));
  if (command == L"move" && argc >= 7)
    return ::SetWindowPos(WindowArg(argv[2]), nullptr, static_cast<int>(Number(argv[3])),
                          static_cast<int>(Number(argv[4])), static_cast<int>(Number(argv[5])),
                          static_cast<int>(Number(argv[6])), SWP_NOZORDER | SWP_NOACTIVATE)
               ? 0
               : 1;
  return 2;
}
