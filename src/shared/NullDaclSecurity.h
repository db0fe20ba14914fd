// Security attributes with a present, null DACL: any process of any session may open
// the named objects made with them (the main application may run elsewhere).
#pragma once

#include <windows.h>

class TNullDaclSecurity {
 public:
  TNullDaclSecurity();
  TNullDaclSecurity(const TNullDaclSecurity&) = delete;
  TNullDaclSecurity& operator=(const TNullDaclSecurity&) = delete;

  SECURITY_ATTRIBUTES* Attributes() { return &FAttributes; }

 private:
  SECURITY_DESCRIPTOR FDescriptor{};
  SECURITY_ATTRIBUTES FAttributes{};
};

// Creates (not owning) the named mutex; LastError receives GetLastError() of the call,
// which is ERROR_ALREADY_EXISTS when another process made it first.
HANDLE CreateNamedMutex(TNullDaclSecurity& Security, const wchar_t* Name, DWORD& LastError);
