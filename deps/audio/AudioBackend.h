#pragma once

// What RtAudio asks of a back end. A back end lists endpoints (one direction of one
// device each); RtAudio joins a capture and a render endpoint of the same name into one
// device, gives devices their ids and runs the stream thread. Samples cross this line as
// interleaved 32-bit floats in the device's channel order.

#include "deps/audio/RtAudio.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace audio {

struct Endpoint
{
  bool isInput = false;
  std::string name; // UTF-8
  std::string key;  // the back end's identity of the endpoint, stable across listings
  bool isDefault = false;
};

struct EndpointCaps
{
  unsigned int channels = 0;
  std::vector<unsigned int> sampleRates; // ascending
  unsigned int preferredSampleRate = 0;
};

struct StreamRequest
{
  const Endpoint* input = nullptr;  // null: no input
  const Endpoint* output = nullptr; // null: no output
  unsigned int inputChannels = 0;   // device channels to exchange, from channel 0
  unsigned int outputChannels = 0;
  unsigned int sampleRate = 0;
  unsigned int frames = 0;          // per block
  unsigned int numberOfBuffers = 0; // 0: the back end's default
};

enum class WaitResult { Ready, Quit, Failed };

class BackendStream
{
public:
  virtual ~BackendStream() = default;
  virtual bool Start(std::string& error) = 0;
  // Returns Ready when one block can be exchanged; Quit as soon as quit is set.
  virtual WaitResult WaitForBlock(const std::atomic<bool>& quit, RtAudioStreamStatus& status,
                                  std::string& error) = 0;
  virtual void ReadInput(float* interleaved) = 0;         // inputChannels x frames
  virtual void WriteOutput(const float* interleaved) = 0; // outputChannels x frames
  // Waits (bounded) until the written output has played; then Stop.
  virtual void Drain() = 0;
  virtual void Stop() = 0; // idempotent
};

class Backend
{
public:
  virtual ~Backend() = default;
  virtual std::vector<Endpoint> ListEndpoints() = 0;
  virtual bool Describe(const Endpoint& endpoint, EndpointCaps& caps) = 0;
  virtual std::unique_ptr<BackendStream> Open(const StreamRequest& request, std::string& error) = 0;
};

// The rates probed on every device, ascending.
const std::vector<unsigned int>& StandardSampleRates();

} // namespace audio
