#include "product/core/TarnwickConfig.h"

#include "product/core/AmpEngine.h"
#include "product/core/FactoryRecipes.h"
#include "product/core/ParamIds.h"

pfw::IPluginConfig MakeTarnwickConfig()
{
  pfw::IPluginConfig config;
  config.nParams = kNumParams;
  config.nPresets = kNumFactoryRecipes;
  // A main bus of one or two channels, optionally a side-chain bus, one or two outputs.
  config.channelIOStr = "1-1 1-2 2-2 1.1-1 1.2-1 1.1-2 1.2-2 2.1-2 2.2-2";
  config.pluginName = "TARN WICK";
  config.productName = "TARN WICK";
  config.mfrName = "QUILLTONE";
  config.vendorVersion = (0 << 16) | (1 << 8) | 0;
  config.uniqueID = pfw::FourCharCode("Tarn");
  config.mfrID = pfw::FourCharCode("Qltn");
  config.latency = kPluginLatency;
  config.minSampleRate = AmpEngine::kMinSampleRate;
  config.maxSampleRate = AmpEngine::kMaxSampleRate;
  config.plugDoesMidiIn = false;
  config.plugDoesMidiOut = false;
  config.plugDoesMPE = false;
  config.plugDoesChunks = true;
  config.plugType = pfw::kPlugTypeEffect;
  config.plugHasUI = true;
  config.plugWidth = kEditorWidth;
  config.plugHeight = kEditorHeight;
  config.plugMinWidth = 393;
  config.plugMaxWidth = 3540;
  config.plugMinHeight = 266;
  config.plugMaxHeight = 2400;
  config.plugHostResize = true;
  config.bundleID = "";
  config.appGroupID = "";
  return config;
}
