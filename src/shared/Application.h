// The application object: one per program. Its hidden top-level window owns every
// top-level window of the program; windows it still owns at the end are destroyed.
#pragma once

#include <windows.h>

#include <string>

class TApplication {
 public:
  TApplication() = default;
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;
  ~TApplication();

  // Creates the hidden owner window, titled after the executable's name.
  void Initialize();
  HWND Handle() const { return FHandle; }

  // The program's main window (0 until one is set, and always in a plug-in library):
  // the owner of dialogs that are given no owner of their own.
  HWND MainFormHandle() const { return FMainForm; }
  void SetMainForm(HWND Form) { FMainForm = Form; }

  void SetTitle(const std::wstring& Title);
  std::wstring Title() const;

  // Runs the message loop until Terminate.
  void Run();
  void Terminate() { ::PostQuitMessage(0); }
  // Handles what is pending, then returns; a WM_QUIT seen here is posted again.
  void ProcessMessages();
  // Destroys the windows it still owns, then its own window.
  void Finalize();

 private:
  static LRESULT CALLBACK WindowProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam);
  void DestroyOwnedWindows();

  HWND FHandle = nullptr;
  HWND FMainForm = nullptr;
};

extern TApplication Application;
