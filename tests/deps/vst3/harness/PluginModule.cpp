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

bool PluginModule::readImage(Image& image) const
{
  if (!mModule)
    return false;
  const auto* base = reinterpret_cast<const unsigned char*>(mModule);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE)
    return false;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
    return false;
  const IMAGE_DATA_DIRECTORY& exports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (exports.Size != 0)
  {
    const auto* directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + exports.VirtualAddress);
    image.exportedFunctions = directory->NumberOfFunctions;
    const auto* names = reinterpret_cast<const DWORD*>(base + directory->AddressOfNames);
    for (DWORD i = 0; i < directory->NumberOfNames; ++i)
      image.exportNames.push_back(reinterpret_cast<const char*>(base + names[i]));
  }
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.Size != 0)
    for (const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name != 0; ++entry)
      image.importedDlls.push_back(reinterpret_cast<const char*>(base + entry->Name));
  return true;
}

} // namespace vst3host
