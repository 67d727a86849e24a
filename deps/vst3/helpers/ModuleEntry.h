#pragma once

// The module entry of a VST3 plug-in DLL: DllMain keeps the instance handle, InitDll and
// ExitDll count loads and run the module's hooks on the first load and the last unload.
// A module links the vst3_module_entry objects, defines the two hooks and
// GetPluginFactory, and exports exactly InitDll, ExitDll and GetPluginFactory.

#include "deps/vst3/interfaces/IPluginFactory.h"

#include <windows.h>

// The hooks, defined by the module. InitModule returning false fails InitDll.
bool InitModule();
bool ExitModule();

namespace Steinberg {
// The module's instance handle, set when the library is attached to the process.
HINSTANCE getModuleInstance();
} // namespace Steinberg

extern "C" {
bool InitDll();
bool ExitDll();
Steinberg::IPluginFactory* GetPluginFactory();
}
