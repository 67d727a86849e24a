// The module entry of the VST3 deliverable: its factory offers the one class, the
// product's audio effect.

#include "deps/vst3/helpers/ModuleEntry.h"
#include "deps/vst3/helpers/PluginFactory.h"
#include "framework/core/IPluginConfig.h"
#include "product/core/Tarnwick.h"
#include "product/core/TarnwickConfig.h"

using namespace Steinberg;

namespace {

const PFactoryInfo kFactoryInfo = {"QUILLTONE", "https://quilltone.example", "support@quilltone.example",
                                   PFactoryInfo::kUnicode};

FUnknown* CreateInstance(void*)
{
  Tarnwick* plugin = MakeTarnwick(TarnwickInstanceInfo{});
  return plugin ? static_cast<Vst::IAudioProcessor*>(plugin) : nullptr;
}

bool RegisterTarnwick(CPluginFactory& factory)
{
  const pfw::IPluginConfig config = MakeTarnwickConfig();
  CPluginFactory::AudioEffectClass effect{};
  effect.idWords[0] = static_cast<uint32>(pfw::FourCharCode("QUIL"));
  effect.idWords[1] = static_cast<uint32>(pfw::FourCharCode("LTON"));
  effect.idWords[2] = static_cast<uint32>(config.mfrID);
  effect.idWords[3] = static_cast<uint32>(config.uniqueID);
  effect.name = config.pluginName;
  effect.subCategories = "Fx|Distortion";
  effect.version = "0.1.0";
  effect.sdkVersion = "VST 3.8.1";
  return factory.registerAudioEffect(effect, CreateInstance);
}

} // namespace

bool InitModule()
{
  return true;
}

bool ExitModule()
{
  return true;
}

extern "C" IPluginFactory* GetPluginFactory()
{
  try
  {
    return CPluginFactory::acquireModuleFactory(kFactoryInfo, RegisterTarnwick);
  }
  catch (...)
  {
    return nullptr;
  }
}
