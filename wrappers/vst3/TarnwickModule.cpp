// The module entry of the VST3 deliverable: its factory offers the one class, the
// product's audio effect.

#include "deps/vst3/helpers/ModuleEntry.h"
#include "deps/vst3/helpers/PluginFactory.h"
#include "deps/vst3/helpers/StringConvert.h"
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
  PClassInfo2 info{};
  writeUid(info.cid, static_cast<uint32>(pfw::FourCharCode("QUIL")), static_cast<uint32>(pfw::FourCharCode("LTON")),
           static_cast<uint32>(config.mfrID), static_cast<uint32>(config.uniqueID));
  info.cardinality = PClassInfo::kManyInstances;
  copyText8(info.category, sizeof(info.category), Vst::kVstAudioEffectClass);
  copyText8(info.name, sizeof(info.name), config.pluginName);
  info.classFlags = Vst::kSimpleModeSupported;
  copyText8(info.subCategories, sizeof(info.subCategories), "Fx|Distortion");
  copyText8(info.version, sizeof(info.version), "0.1.0");
  copyText8(info.sdkVersion, sizeof(info.sdkVersion), "VST 3.8.1");
  return factory.registerClass(&info, CreateInstance);
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
