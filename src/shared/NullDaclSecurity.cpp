#include "NullDaclSecurity.h"

TNullDaclSecurity::TNullDaclSecurity() {
  ::InitializeSecurityDescriptor(&FDescriptor, SECURITY_DESCRIPTOR_REVISION);
  ::SetSecurityDescriptorDacl(&FDescriptor, TRUE, nullptr, FALSE);
  FAttributes.nLength = sizeof(FAttributes);
  FAttributes.lpSecurityDescriptor = &FDescriptor;
  FAttributes.bInheritHandle = FALSE;
}

HANDLE CreateNamedMutex(TNullDaclSecurity& Security, const wchar_t* Name, DWORD& LastError) {
  ::SetLastError(ERROR_SUCCESS);
  HANDLE mutex = ::CreateMutexW(Security.Attributes(), FALSE, Name);
  LastError = ::GetLastError();
  return mutex;
}
