#include "PluginModule.h"

namespace vst3host {

PluginModule::~PluginModule()
{
  unload();
}

bool PluginModule::load(const std::wstring& path, std::string& problem)
{
  unload();
  mModule = LoadLibraryW(path.c_str());
  if (!mModule)
  {
    problem = "LoadLibraryW failed with error " + std::to_string(GetLastError());
    return false;
  }
  mInitDll = reinterpret_cast<BoolEntry>(reinterpret_cast<void*>(GetProcAddress(mModule, "InitDll")));
  mExitDll = reinterpret_cast<BoolEntry>(reinterpret_cast<void*>(GetProcAddress(mModule, "ExitDll")));
  mGetPluginFactory =
    reinterpret_cast<FactoryEntry>(reinterpret_cast<void*>(GetProcAddress(mModule, "GetPluginFactory")));
  if (!mInitDll || !mExitDll || !mGetPluginFactory)
  {
    problem = "the module lacks InitDll, ExitDll or GetPluginFactory";
    unload();
    return false;
  }
  return true;
}

void PluginModule::unload()
{
  while (mInitCount > 0)
    exitDll();
  if (mModule)
    FreeLibrary(mModule);
  mModule = nullptr;
  mInitDll = mExitDll = nullptr;
  mGetPluginFactory = nullptr;
}

bool PluginModule::initDll()
{
  if (!mInitDll || !mInitDll())
    return false;
  ++mInitCount;
  return true;
}

bool PluginModule::exitDll()
{
  if (!mExitDll)
    return false;
  if (mInitCount > 0)
    --mInitCount;
  return mExitDll();
}

FUnknown* PluginModule::rawFactory()
{
  return mGetPluginFactory ? mGetPluginFactory() : nullptr;
}

IPluginFactory3* PluginModule::factory()
{
  FUnknown* raw = rawFactory();
  IPluginFactory3* third = ask<IPluginFactory3>(raw, iids::PluginFactory3);
  if (raw)
    raw->release();
  return third;
}

} // namespace vst3host
