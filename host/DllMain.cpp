// Windows library entry: records the module handle that resources and window classes need.
#include "ModuleHandle.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
  setModuleHandle(instance);
  return TRUE;
}
