#pragma once

#include <limits>

namespace pfw {

// What kind of plug-in the wrapper presents to a host.
enum EPlugType : int
{
  kPlugTypeEffect = 0,
  kPlugTypeInstrument = 1,
  kPlugTypeMidiEffect = 2,
};

// The compiled-in construction record that the product passes to its wrapper.
struct IPluginConfig
{
  int nParams = 0;
  int nPresets = 0;
  const char* channelIOStr = "";
  const char* pluginName = "";
  const char* productName = "";
  const char* mfrName = "";
  int vendorVersion = 0; // packed 0xMMMMmmbb
  int uniqueID = 0;
  int mfrID = 0;
  int latency = 0;
  // The sample rates the product can run, in Hz; wrappers refuse the others.
  double minSampleRate = 0.0;
  double maxSampleRate = std::numeric_limits<double>::infinity();
  bool plugDoesMidiIn = false;
  bool plugDoesMidiOut = false;
  bool plugDoesMPE = false;
  bool plugDoesChunks = false;
  int plugType = kPlugTypeEffect;
  bool plugHasUI = false;
  int plugWidth = 0;
  int plugHeight = 0;
  int plugMinWidth = 0;
  int plugMaxWidth = 0;
  int plugMinHeight = 0;
  int plugMaxHeight = 0;
  bool plugHostResize = false; // the editor follows the host window
  const char* bundleID = "";
  const char* appGroupID = "";
};

// A four-letter code such as 'Tarn' as a 32-bit id, first letter in the high byte.
constexpr int FourCharCode(const char (&code)[5])
{
  return static_cast<int>((static_cast<unsigned>(static_cast<unsigned char>(code[0])) << 24) |
                          (static_cast<unsigned>(static_cast<unsigned char>(code[1])) << 16) |
                          (static_cast<unsigned>(static_cast<unsigned char>(code[2])) << 8) |
                          static_cast<unsigned>(static_cast<unsigned char>(code[3])));
}

} // namespace pfw
