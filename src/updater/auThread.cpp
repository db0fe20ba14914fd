#include "auThread.h"

#include <array>

namespace {

// The one lock: the hidden window and the number of thread objects.
struct TWindowState {
  CRITICAL_SECTION Lock;
  HWND Window = nullptr;
  int Count = 0;
  TWindowState() { ::InitializeCriticalSection(&Lock); }
  ~TWindowState() { ::DeleteCriticalSection(&Lock); }
};

TWindowState& State() {
  static TWindowState state;
  return state;
}

class TLock {
 public:
  TLock() { ::EnterCriticalSection(&State().Lock); }
  ~TLock() { ::LeaveCriticalSection(&State().Lock); }
  TLock(const TLock&) = delete;
  TLock& operator=(const TLock&) = delete;
};

thread_local TauEventThread* tCurrentThread = nullptr;

constexpr std::array<int, 7> kPlatformLevels = {THREAD_PRIORITY_IDLE,   THREAD_PRIORITY_LOWEST,
                                                THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
                                                THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                                                THREAD_PRIORITY_TIME_CRITICAL};

// Handles what is pending; true when a quit message went by (it is posted again).
bool PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return true;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return false;
}

}  // namespace

int PlatformPriority(TauThreadPriority Priority) {
  return kPlatformLevels[Priority <= tpTimeCritical ? Priority : tpNormal];
}

TauThreadPriority PriorityFromPlatform(int Level) {
  for (std::size_t i = 0; i < kPlatformLevels.size(); ++i)
    if (kPlatformLevels[i] == Level) return static_cast<TauThreadPriority>(i);
  return tpNormal;
}

HWND ThreadWindowHandle() {
  TLock lock;
  return State().Window;
}

// ---- TauEventThread

TauEventThread::TauEventThread(const TauThreadSettings& Settings, TauCustomThread* Holder)
    : FSettings(Settings), FHolder(Holder) {
  {
    TLock lock;
    TWindowState& s = State();
    if (s.Count == 0 && !s.Window) {
      const HINSTANCE instance = ::GetModuleHandleW(nullptr);
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof(wc);
      if (::GetClassInfoExW(instance, kThreadWindowClass, &wc) && wc.lpfnWndProc != &TauEventThread::WindowProc)
        ::UnregisterClassW(kThreadWindowClass, instance);
      if (!::GetClassInfoExW(instance, kThreadWindowClass, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &TauEventThread::WindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kThreadWindowClass;
        ::RegisterClassExW(&wc);
      }
      s.Window = ::CreateWindowExW(0, kThreadWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    }
    ++s.Count;
  }
  FHandle = ::CreateThread(nullptr, 0, &TauEventThread::ThreadProc, this, CREATE_SUSPENDED, &FThreadID);
}

TauEventThread::~TauEventThread() {
  if (FHandle) ::CloseHandle(FHandle);
  TLock lock;
  TWindowState& s = State();
  if (--s.Count == 0 && s.Window) ::PostMessageW(s.Window, WM_AUTHREAD_RELEASE, 0, 0);
}

void TauEventThread::Resume() {
  if (!FHandle || !FSuspended) return;
  FSuspended = false;
  FStarted = true;
  ::ResumeThread(FHandle);
}

void TauEventThread::Suspend() {
  // Only a thread that has not started yet is held: suspending a running job could
  // stop it inside a lock of the heap.
  if (!FStarted) FSuspended = true;
}

DWORD TauEventThread::WaitFor() {
  if (!FHandle) return 0;
  if (!FStarted) Resume();
  while (::MsgWaitForMultipleObjects(1, &FHandle, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // serves the sent messages
  }
  DWORD code = 0;
  ::GetExitCodeThread(FHandle, &code);
  return code;
}

void TauEventThread::Synchronize(const std::function<void()>& Method) {
  if (Abandoned() || OwnerDestroying() || !Method) return;
  HWND window = ThreadWindowHandle();
  if (!window) return;
  FMethod = Method;
  FSynchronizeException = nullptr;
  ::SendMessageW(window, WM_AUTHREAD_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(this));
  FMethod = nullptr;
  if (FSynchronizeException && !FSettings.HandleExceptions) {
    auto error = FSynchronizeException;
    FSynchronizeException = nullptr;
    std::rethrow_exception(error);
  }
  FSynchronizeException = nullptr;
}

LRESULT CALLBACK TauEventThread::WindowProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_AUTHREAD_SYNCHRONIZE: {
      auto* thread = reinterpret_cast<TauEventThread*>(lParam);
      // Decided here, on the thread that abandons: a call that was already on its way
      // when its thread was replaced is not run.
      if (!thread || thread->Abandoned() || thread->OwnerDestroying()) return 0;
      thread->FSynchronizeException = nullptr;
      try {
        if (thread->FMethod) thread->FMethod();
      } catch (...) {
        thread->FSynchronizeException = std::current_exception();
      }
      return 0;
    }
    case WM_AUTHREAD_RELEASE: {
      TLock lock;
      TWindowState& s = State();
      if (s.Count == 0 && s.Window == Wnd) {
        s.Window = nullptr;
        ::DestroyWindow(Wnd);
      }
      return 0;
    }
    default:
      return ::DefWindowProcW(Wnd, Msg, wParam, lParam);
  }
}

DWORD WINAPI TauEventThread::ThreadProc(LPVOID Param) {
  auto* self = static_cast<TauEventThread*>(Param);
  tCurrentThread = self;
  self->Run();
  const DWORD code = static_cast<DWORD>(self->FReturnValue);
  int expected = kLive;
  // Whoever comes second frees the object: the abandoning side, or this thread.
  if (!self->FState.compare_exchange_strong(expected, kFinished)) delete self;
  tCurrentThread = nullptr;
  return code;
}

void TauEventThread::Run() {
  if (Abandoned()) return;  // replaced before it ever ran a job
  FRunning = true;
  if (!OwnerDestroying() && FSettings.OnExecute) {
    try {
      FSettings.OnExecute(*this);
    } catch (...) {
      if (FSettings.HandleExceptions && FSettings.OnException)
        Synchronize([this] { FSettings.OnException(*this); });
    }
  }
  FRunning = false;
  if (FSettings.OnTerminate && !Abandoned()) {
    try {
      Synchronize([this] {
        try {
          FSettings.OnTerminate(*this);
        } catch (...) {
          if (!FSettings.HandleExceptions) throw;
          if (FSettings.OnException) FSettings.OnException(*this);
        }
      });
    } catch (...) {
      // Nothing leaves a thread routine.
    }
  }
}

void TauEventThread::Abandon() {
  FTerminated = true;
  if (!FHandle) {
    delete this;  // no thread was ever made for it
    return;
  }
  int expected = kLive;
  if (FState.compare_exchange_strong(expected, kAbandoned)) {
    // Its blocking calls are cut so that it ends soon; it frees itself then.
    if (FStarted && FSettings.OnAbandon) {
      try {
        FSettings.OnAbandon(*this);
      } catch (...) {
      }
    }
    if (!FStarted) {
      FStarted = true;
      FSuspended = false;
      ::ResumeThread(FHandle);
    }
    return;
  }
  delete this;  // its routine is over: nothing of it runs any more
}

// ---- TauCustomThread

TauCustomThread::TauCustomThread() {
  FSettings.OwnerDestroying = std::make_shared<std::atomic<bool>>(false);
  FThread = new TauEventThread(FSettings, this);
}

TauCustomThread::~TauCustomThread() {
  FThread->Abandon();
  FThread = nullptr;
}

void TauCustomThread::Replace() {
  auto* fresh = new TauEventThread(FSettings, this);
  if (fresh->FHandle) ::SetThreadPriority(fresh->FHandle, PlatformPriority(FPriority));
  TauEventThread* old = FThread;
  FThread = fresh;
  old->Abandon();
}

void TauCustomThread::Terminate(bool Imediately) {
  if (Imediately)
    Replace();
  else
    FThread->Terminate();
}

bool TauCustomThread::Execute() {
  Replace();
  FThread->Context = std::move(FNextContext);
  FNextContext = nullptr;
  // Our own handle: the thread object may be freed (and its handle closed) while we wait.
  HANDLE wait = nullptr;
  ::DuplicateHandle(::GetCurrentProcess(), FThread->FHandle, ::GetCurrentProcess(), &wait, SYNCHRONIZE, FALSE, 0);
  // Busy from here on, not only once the new thread got its first time slice.
  FThread->FRunning = true;
  FThread->Resume();
  if (!FWaitThread || !wait) {
    if (wait) ::CloseHandle(wait);
    return true;
  }
  const DWORD start = ::GetTickCount();
  const std::shared_ptr<std::atomic<bool>> destroying = FSettings.OwnerDestroying;
  bool result = true;
  while (true) {
    DWORD timeout = INFINITE;
    if (FWaitTimeout != 0) {
      const DWORD spent = ::GetTickCount() - start;
      timeout = spent >= FWaitTimeout ? 0 : FWaitTimeout - spent;
    }
    const DWORD rc = ::MsgWaitForMultipleObjects(1, &wait, FALSE, timeout, QS_ALLINPUT);
    if (rc == WAIT_OBJECT_0 + 1) {
      const bool quitting = PumpMessages();
      if (quitting || *destroying) break;
      continue;
    }
    if (rc == WAIT_TIMEOUT) {
      result = false;
      break;
    }
    if (rc == WAIT_OBJECT_0) PumpMessages();
    break;  // ended, or the handle is gone
  }
  ::CloseHandle(wait);
  if (!result) {
    Replace();
    if (FOnWaitTimeoutExpired) FOnWaitTimeoutExpired();
  }
  return result;
}

void TauCustomThread::Synchronize(const std::function<void()>& Method) {
  if (tCurrentThread)
    tCurrentThread->Synchronize(Method);
  else if (Method)
    Method();
}

void TauCustomThread::SynchronizeEx(const std::function<void(void*)>& Method, void* Params) {
  if (!Method) return;
  Synchronize([&] { Method(Params); });
}

TauThreadPriority TauCustomThread::Priority() const {
  return FThread->FHandle ? PriorityFromPlatform(::GetThreadPriority(FThread->FHandle)) : FPriority;
}

void TauCustomThread::SetPriority(TauThreadPriority Priority) {
  FPriority = Priority;
  if (FThread->FHandle) ::SetThreadPriority(FThread->FHandle, PlatformPriority(Priority));
}
