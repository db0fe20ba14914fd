// Widget.dll's entry point: nothing to set up at load time (GDI+ and the common controls
// start with the first widget, which may not happen in DllMain).
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
