#include "wrappers/vst3/SpeakerArrangementForChannels.h"

#include "deps/vst3/interfaces/SpeakerArrangement.h"

namespace pfw {

Steinberg::Vst::SpeakerArrangement SpeakerArrangementForChannels(int nChannels)
{
  namespace Arr = Steinberg::Vst::SpeakerArr;
  switch (nChannels)
  {
  case 1: return Arr::kMono;
  case 2: return Arr::kStereo;
  case 3: return Arr::k30Cine;
  case 4: return Arr::kAmbi1stOrderACN;
  case 5: return Arr::k50;
  case 6: return Arr::k51;
  case 7: return Arr::k70Cine;
  case 8: return Arr::k71Music;
  case 9: return Arr::kAmbi2cdOrderACN;
  case 10: return Arr::k71_2;
  case 16: return Arr::kAmbi3rdOrderACN;
  default: return Arr::kEmpty;
  }
}

} // namespace pfw
