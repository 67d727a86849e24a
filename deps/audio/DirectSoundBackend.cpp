#include "deps/audio/AudioBackend.h"
#include "deps/audio/DirectSoundStream.h"
#include "deps/unicode/WideUtf8.h"

#include <cstring>

namespace audio {

namespace {

// An endpoint's key is its device GUID in bytes; the primary device (the system's
// default, which follows the user's choice) has no GUID and an empty key.
std::string KeyOf(const GUID* guid)
{
  return guid ? std::string(reinterpret_cast<const char*>(guid), sizeof(GUID)) : std::string();
}

bool GuidOf(const std::string& key, GUID& guid)
{
  if (key.size() != sizeof(GUID))
    return false;
  std::memcpy(&guid, key.data(), sizeof(GUID));
  return true;
}

struct Listing
{
  std::vector<Endpoint>* endpoints;
  bool isInput;
};

BOOL CALLBACK AddEndpoint(LPGUID guid, LPCWSTR description, LPCWSTR /*module*/, LPVOID context)
{
  Listing* listing = static_cast<Listing*>(context);
  Endpoint endpoint;
  endpoint.isInput = listing->isInput;
  endpoint.name = unicode::WideToUtf8(description);
  endpoint.key = KeyOf(guid);
  endpoint.isDefault = guid == nullptr;
  listing->endpoints->push_back(endpoint);
  return TRUE;
}

void AddRates(unsigned int low, unsigned int high, std::vector<unsigned int>& rates)
{
  for (unsigned int rate : StandardSampleRates())
    if (rate >= low && rate <= high)
      rates.push_back(rate);
}

unsigned int Preferred(const std::vector<unsigned int>& rates)
{
  for (unsigned int rate : {48000u, 44100u})
    for (unsigned int offered : rates)
      if (offered == rate)
        return rate;
  return rates.empty() ? 0 : rates.back();
}

bool CaptureTakes(IDirectSoundCapture8* capture, unsigned int channels, unsigned int rate)
{
  for (DeviceSampleType type : {DeviceSampleType::Float32, DeviceSampleType::Int16})
  {
    WAVEFORMATEXTENSIBLE format;
    MakeWaveFormat(type, channels, rate, format);
    DSCBUFFERDESC description;
    std::memset(&description, 0, sizeof(description));
    description.dwSize = sizeof(description);
    description.dwBufferBytes = format.Format.nAvgBytesPerSec / 10;
    description.lpwfxFormat = &format.Format;
    IDirectSoundCaptureBuffer* buffer = nullptr;
    if (SUCCEEDED(capture->CreateCaptureBuffer(&description, &buffer, nullptr)))
    {
      buffer->Release();
      return true;
    }
  }
  return false;
}

class DirectSoundBackend : public Backend
{
public:
  std::vector<Endpoint> ListEndpoints() override
  {
    std::vector<Endpoint> endpoints;
    Listing render = {&endpoints, false};
    DirectSoundEnumerateW(AddEndpoint, &render);
    Listing capture = {&endpoints, true};
    DirectSoundCaptureEnumerateW(AddEndpoint, &capture);
    return endpoints;
  }

  bool Describe(const Endpoint& endpoint, EndpointCaps& caps) override
  {
    GUID guid;
    const GUID* device = GuidOf(endpoint.key, guid) ? &guid : nullptr;
    caps = EndpointCaps();
    if (endpoint.isInput)
    {
      IDirectSoundCapture8* capture = nullptr;
      if (FAILED(DirectSoundCaptureCreate8(device, &capture, nullptr)))
        return false;
      DSCCAPS deviceCaps;
      std::memset(&deviceCaps, 0, sizeof(deviceCaps));
      deviceCaps.dwSize = sizeof(deviceCaps);
      if (SUCCEEDED(capture->GetCaps(&deviceCaps)))
        caps.channels = deviceCaps.dwChannels > 2 ? 2 : deviceCaps.dwChannels;
      // The caps name only a few rates; asking for a buffer is the honest answer.
      if (caps.channels > 0)
        for (unsigned int rate : StandardSampleRates())
          if (CaptureTakes(capture, caps.channels, rate))
            caps.sampleRates.push_back(rate);
      capture->Release();
    }
    else
    {
      IDirectSound8* render = nullptr;
      if (FAILED(DirectSoundCreate8(device, &render, nullptr)))
        return false;
      DSCAPS deviceCaps;
      std::memset(&deviceCaps, 0, sizeof(deviceCaps));
      deviceCaps.dwSize = sizeof(deviceCaps);
      if (SUCCEEDED(render->GetCaps(&deviceCaps)))
      {
        const bool monoOnly = (deviceCaps.dwFlags & DSCAPS_PRIMARYMONO) && !(deviceCaps.dwFlags & DSCAPS_PRIMARYSTEREO);
        caps.channels = monoOnly ? 1 : 2;
        if (deviceCaps.dwMaxSecondarySampleRate > 0)
          AddRates(deviceCaps.dwMinSecondarySampleRate, deviceCaps.dwMaxSecondarySampleRate, caps.sampleRates);
        else
          caps.sampleRates = StandardSampleRates();
      }
      render->Release();
    }
    caps.preferredSampleRate = Preferred(caps.sampleRates);
    return caps.channels > 0;
  }

  std::unique_ptr<BackendStream> Open(const StreamRequest& request, std::string& error) override
  {
    GUID inputGuid, outputGuid;
    const GUID* input = request.input && GuidOf(request.input->key, inputGuid) ? &inputGuid : nullptr;
    const GUID* output = request.output && GuidOf(request.output->key, outputGuid) ? &outputGuid : nullptr;
    return DirectSoundStream::Open(request, input, output, error);
  }
};

} // namespace

const std::vector<unsigned int>& StandardSampleRates()
{
  static const std::vector<unsigned int> rates = {8000,  11025, 16000, 22050, 32000,  44100,
                                                  48000, 88200, 96000, 176400, 192000};
  return rates;
}

std::unique_ptr<Backend> MakeDirectSoundBackend()
{
  return std::unique_ptr<Backend>(new DirectSoundBackend());
}

} // namespace audio
