#pragma once

// Loads a VST3 module DLL with LoadLibraryW and reaches it only through its three
// exports and the interfaces they lead to.

#include "HostAbi.h"

#include <windows.h>

#include <string>
#include <vector>

namespace vst3host {

class PluginModule
{
public:
  PluginModule() = default;
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  // Loads the library and finds the exports; false (and an explanation) on failure.
  bool load(const std::wstring& path, std::string& problem);
  // ExitDll when InitDll succeeded, then FreeLibrary.
  void unload();

  bool initDll();
  bool exitDll();
  // A factory with one reference for the caller, as IPluginFactory3; null when the
  // module gives none or its factory does not answer IPluginFactory3.
  IPluginFactory3* factory();
  // The raw exported factory, with the caller's reference.
  FUnknown* rawFactory();

  HMODULE handle() const { return mModule; }

  // What the loaded image exports (names, and the count of exported functions, named or
  // not) and the DLLs it imports from.
  struct Image
  {
    std::vector<std::string> exportNames;
    uint32_t exportedFunctions = 0;
    std::vector<std::string> importedDlls;
  };
  bool readImage(Image& image) const;

private:
  using BoolEntry = bool (*)();
  using FactoryEntry = FUnknown* (*)();

  HMODULE mModule = nullptr;
  BoolEntry mInitDll = nullptr;
  BoolEntry mExitDll = nullptr;
  FactoryEntry mGetPluginFactory = nullptr;
  int mInitCount = 0;
};

// Asks an object for an interface; the result carries its own reference.
template <class Interface>
Interface* ask(FUnknown* object, const Iid& iid)
{
  void* face = nullptr;
  if (!object || object->queryInterface(iid.data(), &face) != kOk)
    return nullptr;
  return static_cast<Interface*>(face);
}

// Releases an interface pointer once, if any, and clears it.
template <class Interface>
void releaseAndClear(Interface*& face)
{
  if (face)
    face->release();
  face = nullptr;
}

} // namespace vst3host
