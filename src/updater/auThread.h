// The thread holder of the download: each job runs on a fresh operating-system thread,
// and the job calls into the user-interface thread synchronously through the hidden
// window "TauThreadWindow". A replaced thread is abandoned, never killed: it is told to
// stop, its blocking handles are closed (OnAbandon), and it delivers nothing further.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

class TauCustomThread;
class TauEventThread;

using TauThreadEvent = std::function<void(TauEventThread& Thread)>;

enum TauThreadPriority : std::uint8_t {
  tpIdle,
  tpLowest,
  tpLower,
  tpNormal,
  tpHigher,
  tpHighest,
  tpTimeCritical,
};

int PlatformPriority(TauThreadPriority Priority);
TauThreadPriority PriorityFromPlatform(int Level);

inline constexpr UINT WM_AUTHREAD_SYNCHRONIZE = 0x8FFF;
inline constexpr UINT WM_AUTHREAD_RELEASE = 0x8FFE;
inline constexpr wchar_t kThreadWindowClass[] = L"TauThreadWindow";

// What a thread object copies from its holder, so a thread never needs the holder again.
struct TauThreadSettings {
  TauThreadEvent OnExecute, OnException, OnTerminate, OnAbandon;
  bool HandleExceptions = true;
  std::shared_ptr<std::atomic<bool>> OwnerDestroying;
};

class TauEventThread {
 public:
  TauEventThread(const TauThreadSettings& Settings, TauCustomThread* Holder);
  TauEventThread(const TauEventThread&) = delete;
  TauEventThread& operator=(const TauEventThread&) = delete;

  void Resume();
  void Suspend();
  // Asks the job to stop; the job reads Terminated between its steps.
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }
  // Waits for the thread to end; on the thread that owns windows it keeps serving sent messages.
  DWORD WaitFor();
  bool Running() const { return FRunning; }
  bool Suspended() const { return FSuspended; }
  bool Abandoned() const { return FState == kAbandoned; }
  HANDLE Handle() const { return FHandle; }
  DWORD ThreadID() const { return FThreadID; }
  int32_t ReturnValue() const { return FReturnValue; }
  void SetReturnValue(int32_t Value) { FReturnValue = Value; }
  // The holder whose job this is; null once abandoned.
  TauCustomThread* Owner() const { return Abandoned() ? nullptr : FHolder; }

  // Runs Method on the user-interface thread and returns when it has run there. Does
  // nothing once this thread was abandoned or while the holder's owner is being destroyed.
  void Synchronize(const std::function<void()>& Method);

  // Data of the job (the transfer of the download); lives as long as this object.
  std::shared_ptr<void> Context;

 private:
  friend class TauCustomThread;
  static DWORD WINAPI ThreadProc(LPVOID Param);
  static LRESULT CALLBACK WindowProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam);
  void Run();
  // Hands the object to its thread or deletes it; the caller no longer owns it.
  void Abandon();
  ~TauEventThread();
  bool OwnerDestroying() const { return FSettings.OwnerDestroying && *FSettings.OwnerDestroying; }

  static constexpr int kLive = 0;
  static constexpr int kFinished = 1;
  static constexpr int kAbandoned = 2;

  HANDLE FHandle = nullptr;
  DWORD FThreadID = 0;
  std::atomic<bool> FTerminated{false};
  bool FSuspended = true;
  bool FStarted = false;
  int32_t FReturnValue = 0;
  std::atomic<bool> FRunning{false};
  std::function<void()> FMethod;
  std::exception_ptr FSynchronizeException;
  TauThreadSettings FSettings;
  TauCustomThread* FHolder;
  std::atomic<int> FState{kLive};
};

class TauCustomThread {
 public:
  TauCustomThread();
  TauCustomThread(const TauCustomThread&) = delete;
  TauCustomThread& operator=(const TauCustomThread&) = delete;
  ~TauCustomThread();

  // Replaces the thread by a fresh one and starts the job on it. With WaitThread the call
  // returns when the job has ended (true) or WaitTimeout ran out (false), serving the
  // caller's messages meanwhile.
  bool Execute();
  // From inside a job: runs Method on the user-interface thread (see TauEventThread).
  void Synchronize(const std::function<void()>& Method);
  void SynchronizeEx(const std::function<void(void*)>& Method, void* Params);
  void Suspend() { FThread->Suspend(); }
  void Resume() { FThread->Resume(); }
  // Imediately: abandon the current thread and put a fresh suspended one in its place.
  void Terminate(bool Imediately);
  DWORD WaitFor() { return FThread->WaitFor(); }

  bool Running() const { return FThread->Running(); }
  TauEventThread& Thread() { return *FThread; }

  TauThreadPriority Priority() const;
  void SetPriority(TauThreadPriority Priority);

  // The owning component calls this first thing in its destructor.
  void OwnerDestroying() { *FSettings.OwnerDestroying = true; }

  void SetOnExecute(TauThreadEvent Handler) { FSettings.OnExecute = std::move(Handler); Refresh(); }
  void SetOnException(TauThreadEvent Handler) { FSettings.OnException = std::move(Handler); Refresh(); }
  void SetOnTerminate(TauThreadEvent Handler) { FSettings.OnTerminate = std::move(Handler); Refresh(); }
  void SetOnAbandon(TauThreadEvent Handler) { FSettings.OnAbandon = std::move(Handler); Refresh(); }
  void SetHandleExceptions(bool Value) { FSettings.HandleExceptions = Value; Refresh(); }

  bool FWaitThread = false;
  DWORD FWaitTimeout = 0;  // milliseconds for the whole wait; 0: no limit
  std::function<void()> FOnWaitTimeoutExpired;
  // Handed to the next thread that Execute starts (the job's data).
  std::shared_ptr<void> FNextContext;

 private:
  void Replace();
  void Refresh() { FThread->FSettings = FSettings; }

  TauThreadSettings FSettings;
  TauEventThread* FThread = nullptr;
  TauThreadPriority FPriority = tpNormal;
};

// The hidden window while any thread object exists; null otherwise.
HWND ThreadWindowHandle();
