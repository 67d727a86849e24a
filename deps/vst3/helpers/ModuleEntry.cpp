#include "deps/vst3/helpers/ModuleEntry.h"

#include <mutex>

namespace {
HINSTANCE gModuleInstance = nullptr;
std::mutex gLoadLock;
int gLoadCount = 0;
} // namespace

namespace Steinberg {
HINSTANCE getModuleInstance()
{
  return gModuleInstance;
}
} // namespace Steinberg

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
  if (reason == DLL_PROCESS_ATTACH)
    gModuleInstance = instance;
  return TRUE;
}

extern "C" bool InitDll()
{
  std::lock_guard<std::mutex> lock(gLoadLock);
  if (gLoadCount == 0)
  {
    bool started = false;
    try
    {
      started = InitModule();
    }
    catch (...)
    {
      started = false;
    }
    if (!started)
      return false;
  }
  ++gLoadCount;
  return true;
}

extern "C" bool ExitDll()
{
  std::lock_guard<std::mutex> lock(gLoadLock);
  if (gLoadCount <= 0)
    return false;
  if (--gLoadCount == 0)
  {
    try
    {
      ExitModule();
    }
    catch (...)
    {
    }
  }
  return true;
}
