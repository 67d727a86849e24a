#include "wrappers/standalone/StandaloneHost.h"

#include "framework/core/ParamChangeSource.h"
#include "framework/platform/windows/Utf8Shims.h"
#include "wrappers/standalone/IPluginAPP.h"

#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

StandaloneHost* gHost = nullptr;

constexpr int kMaxSettingsPath = 2048;

// The layer's messages go to standard output and nowhere else.
void AudioErrorCallback(const std::string& text)
{
  std::fputs("\nerrorCallback: ", stdout);
  std::fputs(text.c_str(), stdout);
  std::fputs("\n\n", stdout);
  std::fflush(stdout);
}

} // namespace

StandaloneHost::Services StandaloneHost::DefaultServices()
{
  Services services;
  services.showMessage = [](HWND owner, const char* text, const char* caption, UINT type) {
    return pfw::MessageBoxUTF8(owner, text, caption, type);
  };
  services.localAppDataFolder = [](pfw::GrowString& folder) {
    char path[kMaxSettingsPath] = {};
    if (!pfw::SHGetSpecialFolderPathUTF8(nullptr, path, sizeof(path), CSIDL_LOCAL_APPDATA, FALSE))
      return false;
    return folder.Set(path);
  };
  services.reportAudioError = AudioErrorCallback;
  return services;
}

StandaloneHost* StandaloneHost::Create(PluginFactory makePlugin, Services services)
{
  // One host at a time: the earlier one lets go of its devices before the new one starts.
  Destroy();
  if (!makePlugin)
    return nullptr;
  StandaloneHost* host = nullptr;
  try
  {
    host = new StandaloneHost(std::move(services));
  }
  catch (...)
  {
    return nullptr;
  }
  host->mPlugin = makePlugin(*host);
  if (!host->mPlugin)
  {
    delete host;
    return nullptr;
  }
  gHost = host;
  return gHost;
}

StandaloneHost* StandaloneHost::Get()
{
  return gHost;
}

void StandaloneHost::Destroy()
{
  delete gHost;
  gHost = nullptr;
}

StandaloneHost::StandaloneHost(Services services)
  : mServices(std::move(services))
{
}

StandaloneHost::~StandaloneHost()
{
  // From now on the MIDI callback ignores everything.
  mExiting = true;
  StopAudio();
  if (mMidiIn)
    mMidiIn->cancelCallback();
  if (mMidiOut)
    mMidiOut->closePort();
  mMidiOutputNames.clear();
  mMidiInputNames.clear();
  mOutputDeviceIds.clear();
  mInputDeviceIds.clear();
  mMidiOut.reset();
  mMidiIn.reset();
  mAudio.reset();
  delete mPlugin;
  mPlugin = nullptr;
  if (gHost == this)
    gHost = nullptr;
}

bool StandaloneHost::Init()
{
  mPlugin->SetHost("standalone", mPlugin->GetPluginVersion(false));
  ReadSettings();
  CreateAudioDriver();
  ProbeAudioDevices();
  CreateMidi();
  ProbeMidiPorts();
  const std::string midiInput = mEdited.midiInputPort.Get();
  const std::string midiOutput = mEdited.midiOutputPort.Get();
  SelectMidiPort(false, midiInput.c_str());
  SelectMidiPort(true, midiOutput.c_str());
  mPlugin->OnParamReset(pfw::kReset);
  mPlugin->OnActivate(true);
  return true;
}

void StandaloneHost::SetScreenshotPath(const char* path)
{
  mScreenshotPath.Set(path ? path : "");
  if (mScreenshotPath.GetLength() > 0)
    mNoIO = true;
}

bool StandaloneHost::ReadSettings()
{
  pfw::GrowString folder;
  mSettingsPath.Clear();
  if (mServices.localAppDataFolder && mServices.localAppDataFolder(folder) && folder.GetLength() > 0)
  {
    pfw::GrowString directory;
    directory.SetFormatted(kMaxSettingsPath, "%s\\%s", folder.Get(), "Tarnwick");
    mSettingsPath.SetFormatted(kMaxSettingsPath, "%s\\%s\\", folder.Get(), "Tarnwick");
    // The folder is tested without its trailing separator, which the runtime's stat refuses.
    struct _stat64 status;
    if (pfw::statUTF8(directory.Get(), &status) != 0)
    {
      pfw::CreateDirectoryUTF8(directory.Get(), nullptr);
      mSettingsPath.Append("settings.ini");
    }
    else
    {
      mSettingsPath.Append("settings.ini");
      if (pfw::statUTF8(mSettingsPath.Get(), &status) == 0)
        mEdited.ReadFile(mSettingsPath.Get());
    }
  }
  return WriteSettings();
}

bool StandaloneHost::WriteSettings()
{
  if (mSettingsPath.GetLength() == 0)
    return false;
  return mEdited.WriteFile(mSettingsPath.Get());
}

void StandaloneHost::CreateAudioDriver()
{
  StopAudio();
  mAudio.reset();
  if (mNoIO)
    return;
  mEdited.driverType = 0;
  try
  {
    mAudio = std::make_unique<RtAudio>(mServices.makeAudioBackend, [this](RtAudioErrorType, const std::string& text) {
      if (mServices.reportAudioError)
        mServices.reportAudioError(text);
    });
  }
  catch (...)
  {
    mAudio.reset();
  }
}

void StandaloneHost::ProbeAudioDevices()
{
  mInputDeviceIds.clear();
  mOutputDeviceIds.clear();
  // Ids belong to the audio object that gave them; an id of an earlier one may name
  // another device now.
  mDefaultInputId.reset();
  mDefaultOutputId.reset();
  if (!mAudio)
    return;
  for (unsigned int id : mAudio->getDeviceIds())
  {
    const RtAudio::DeviceInfo info = mAudio->getDeviceInfo(id);
    if (info.inputChannels > 0)
      mInputDeviceIds.push_back(id);
    if (info.outputChannels > 0)
      mOutputDeviceIds.push_back(id);
    if (info.isDefaultInput)
      mDefaultInputId = id;
    if (info.isDefaultOutput)
      mDefaultOutputId = id;
  }
}

std::string StandaloneHost::GetAudioDeviceName(unsigned int id)
{
  if (!mAudio)
    return std::string();
  const std::string name = mAudio->getDeviceInfo(id).name;
  const size_t colon = name.find(':');
  return colon == std::string::npos ? name : name.substr(colon + 1);
}

std::optional<unsigned int> StandaloneHost::FindAudioDeviceId(const char* name)
{
  if (!mAudio || !name)
    return std::nullopt;
  for (unsigned int id : mAudio->getDeviceIds())
    if (GetAudioDeviceName(id) == name)
      return id;
  return std::nullopt;
}

bool StandaloneHost::TryStartAudio()
{
  if (mNoIO)
    return true;
  const std::string inputName =
    mEdited.driverType == 1 ? mEdited.audioOutputDevice.Get() : mEdited.audioInputDevice.Get();
  std::optional<unsigned int> inputId = FindAudioDeviceId(inputName.c_str());
  std::optional<unsigned int> outputId = FindAudioDeviceId(mEdited.audioOutputDevice.Get());
  bool save = false;
  bool error = false;
  if (!inputId)
  {
    if (mDefaultInputId)
    {
      inputId = mDefaultInputId;
      if (!mInputDeviceIds.empty())
      {
        mEdited.audioInputDevice.Set(GetAudioDeviceName(*inputId).c_str());
        save = true;
      }
    }
    else
      error = true;
  }
  if (!outputId)
  {
    if (mDefaultOutputId)
    {
      outputId = mDefaultOutputId;
      if (!mOutputDeviceIds.empty())
      {
        mEdited.audioOutputDevice.Set(GetAudioDeviceName(*outputId).c_str());
        save = true;
      }
    }
    else
      error = true;
  }
  // A rate the plug-in cannot run would play it at the wrong speed: never open one.
  if (inputId && outputId && !mPlugin->SupportsSampleRate(mEdited.sampleRate))
  {
    mEdited.sampleRate = NearestSharedSampleRate(*inputId, *outputId, mEdited.sampleRate);
    save = true;
  }
  if (save)
    WriteSettings();
  if (error && mServices.showMessage)
    mServices.showMessage(mMainWindow, "Please check the audio settings", "Error", MB_OK);
  if (inputId && outputId)
    return OpenAudioStream(*inputId, *outputId, mEdited.sampleRate, mEdited.bufferSize);
  return false;
}

int StandaloneHost::NearestSharedSampleRate(unsigned int inputId, unsigned int outputId, int rate)
{
  const std::vector<unsigned int> inputRates = mAudio->getDeviceInfo(inputId).sampleRates;
  const std::vector<unsigned int> outputRates = mAudio->getDeviceInfo(outputId).sampleRates;
  // Failing a shared rate, the nearest the plug-in runs, which the device may still take.
  const double bounded = std::min(std::max(static_cast<double>(rate), mPlugin->MinSampleRate()),
                                  mPlugin->MaxSampleRate());
  int nearest = static_cast<int>(std::ceil(bounded));
  double distance = -1.0;
  for (unsigned int candidate : inputRates)
  {
    const bool shared = std::find(outputRates.begin(), outputRates.end(), candidate) != outputRates.end();
    const double away = std::fabs(static_cast<double>(candidate) - rate);
    // Of two equally near rates the higher one.
    if (shared && mPlugin->SupportsSampleRate(candidate) &&
        (distance < 0.0 || away < distance || (away == distance && static_cast<int>(candidate) > nearest)))
    {
      nearest = static_cast<int>(candidate);
      distance = away;
    }
  }
  return nearest;
}

void StandaloneHost::FadeOutAndAbort()
{
  mFadeOutRequested = true;
  // A few device buffers' worth: a callback that has not come by then will not come.
  const double bufferMs = 1000.0 * mBufferFrames / std::max(mSampleRate, 1000.0);
  const int limitMs = 500 + static_cast<int>(3.0 * bufferMs);
  for (int waited = 0; !mFadeOutDone && mAudio->isStreamRunning() && waited < limitMs; waited += 10)
    Sleep(10);
  if (mAudio->isStreamRunning())
    mAudio->abortStream();
}

bool StandaloneHost::OpenAudioStream(unsigned int inputId, unsigned int outputId, int sampleRate, int bufferFrames)
{
  if (!mAudio)
    return false;
  if (mAudio->isStreamOpen())
  {
    if (mAudio->isStreamRunning())
      FadeOutAndAbort();
    mAudio->closeStream();
  }
  if (sampleRate <= 0 || bufferFrames <= 0)
    return false;

  // The device's own channels, at most as many as the plug-in's main input and its
  // outputs; the plug-in's other channels read silence.
  const RtAudio::DeviceInfo input = mAudio->getDeviceInfo(inputId);
  const RtAudio::DeviceInfo output = mAudio->getDeviceInfo(outputId);
  int mainInputs = mPlugin->MaxNChannelsForBus(pfw::kInput, 0);
  if (mainInputs < 0 || mainInputs > mPlugin->NChannels(pfw::kInput))
    mainInputs = mPlugin->NChannels(pfw::kInput);
  const unsigned int nInputs = std::min(static_cast<unsigned int>(mainInputs), input.inputChannels);
  const unsigned int nOutputs =
    std::min(static_cast<unsigned int>(mPlugin->NChannels(pfw::kOutput)), output.outputChannels);

  mBufferFrames = static_cast<unsigned int>(bufferFrames);
  mSampleRate = sampleRate;
  mFadeOutRequested = false;
  mFadeOutDone = false;
  // Every start fades in, not only the first.
  mCallbackCount = 0;

  mPlugin->SetBlockSize(static_cast<int>(BlockLoop::kBlockFrames));
  mPlugin->SetSampleRate(sampleRate);
  mPlugin->OnReset();

  RtAudio::StreamParameters outputParameters;
  outputParameters.deviceId = outputId;
  outputParameters.nChannels = nOutputs;
  outputParameters.firstChannel = 0;
  RtAudio::StreamParameters inputParameters;
  inputParameters.deviceId = inputId;
  inputParameters.nChannels = nInputs;
  inputParameters.firstChannel = 0;
  RtAudio::StreamOptions options;
  options.flags = RTAUDIO_NONINTERLEAVED;
  options.priority = 0;
  unsigned int frames = mBufferFrames;
  if (mAudio->openStream(&outputParameters, nInputs > 0 ? &inputParameters : nullptr, RTAUDIO_FLOAT64,
                         static_cast<unsigned int>(sampleRate), &frames, &StandaloneHost::AudioCallback, this,
                         &options) != RTAUDIO_NO_ERROR)
    return false;
  mBufferFrames = frames;
  mBlocks.Prepare(static_cast<int>(nInputs), static_cast<int>(nOutputs), frames);
  if (mAudio->startStream() != RTAUDIO_NO_ERROR)
    return false;
  mActive.CopyFrom(mEdited);
  return true;
}

void StandaloneHost::StopAudio()
{
  if (!mAudio || !mAudio->isStreamOpen())
    return;
  if (mAudio->isStreamRunning())
    FadeOutAndAbort();
  mAudio->closeStream();
}

int StandaloneHost::AudioCallback(void* outputBuffer, void* inputBuffer, unsigned int nFrames, double,
                                  RtAudioStreamStatus, void* userData)
{
  StandaloneHost* host = static_cast<StandaloneHost*>(userData);
  if (!host)
    return 0;
  // Nothing may unwind into the device layer, which would stop the stream: a block that
  // throws costs that block only.
  try
  {
    host->OnAudio(static_cast<double*>(outputBuffer), static_cast<double*>(inputBuffer), nFrames);
  }
  catch (...)
  {
    host->OnAudioFailed(static_cast<double*>(outputBuffer), nFrames);
  }
  return 0;
}

void StandaloneHost::OnAudio(double* output, double* input, unsigned int n)
{
  const int nInputs = input ? mBlocks.Inputs() : 0;
  const int nOutputs = output ? mBlocks.Outputs() : 0;
  if (mFadeOutDone)
  {
    if (output)
      std::fill(output, output + static_cast<size_t>(n) * nOutputs, 0.0);
  }
  else
  {
    // Read once, so that one callback fades its input and output the same way.
    const bool fadeOut = mFadeOutRequested.load();
    const bool fade = mCallbackCount.load() == 0 || fadeOut;
    if (fade)
      ApplyFade(input, nInputs, n, fadeOut);
    mBlocks.Run(*mPlugin, input, output, n);
    if (fade)
      ApplyFade(output, nOutputs, n, fadeOut);
    if (fadeOut)
      mFadeOutDone = true;
  }
  mCallbackCount = 1;
}

void StandaloneHost::OnAudioFailed(double* output, unsigned int n)
{
  if (output)
    std::fill(output, output + static_cast<size_t>(n) * mBlocks.Outputs(), 0.0);
  mBlocks.Abandon();
  // Silence is as faded out as it gets; after it the sound comes back as at a start.
  if (mFadeOutRequested)
    mFadeOutDone = true;
  mCallbackCount = 0;
}

bool StandaloneHost::CreateMidi()
{
  if (mNoIO)
    return true;
  mMidiIn.reset();
  try
  {
    mMidiIn = std::make_unique<RtMidiIn>(mServices.makeMidiBackend, "RtMidi Input Client", 100);
  }
  catch (const RtMidiError& error)
  {
    error.printMessage();
    return false;
  }
  catch (...)
  {
    return false;
  }
  mMidiIn->setCallback(&StandaloneHost::MidiCallback, this);
  mMidiIn->ignoreTypes(false, true, false);

  mMidiOut.reset();
  try
  {
    mMidiOut = std::make_unique<RtMidiOut>(mServices.makeMidiBackend, "RtMidi Output Client");
  }
  catch (const RtMidiError& error)
  {
    error.printMessage();
    return false;
  }
  catch (...)
  {
    return false;
  }
  return true;
}

void StandaloneHost::ProbeMidiPorts()
{
  if (!mMidiIn || !mMidiOut)
    return;
  mMidiInputNames.assign(1, "off");
  mMidiOutputNames.assign(1, "off");
  for (unsigned int i = 0, count = mMidiIn->getPortCount(); i < count; ++i)
    mMidiInputNames.push_back(mMidiIn->getPortName(i));
  for (unsigned int i = 0, count = mMidiOut->getPortCount(); i < count; ++i)
    mMidiOutputNames.push_back(mMidiOut->getPortName(i));
}

int StandaloneHost::FindMidiPortIndex(bool output, const char* name)
{
  if (!name)
    return -1;
  if (std::strcmp(name, "off") == 0)
    return 0;
  RtMidi* midi = output ? static_cast<RtMidi*>(mMidiOut.get()) : static_cast<RtMidi*>(mMidiIn.get());
  if (!midi)
    return -1;
  for (unsigned int i = 0, count = midi->getPortCount(); i < count; ++i)
    if (midi->getPortName(i) == name)
      return static_cast<int>(i) + 1;
  return -1;
}

bool StandaloneHost::SelectMidiPort(bool output, const char* name)
{
  RtMidi* midi = output ? static_cast<RtMidi*>(mMidiOut.get()) : static_cast<RtMidi*>(mMidiIn.get());
  if (!midi)
    return false;
  int index = FindMidiPortIndex(output, name);
  if (index < 0)
  {
    (output ? mEdited.midiOutputPort : mEdited.midiInputPort).Set("off");
    WriteSettings();
    index = 0;
  }
  midi->closePort();
  if (index > 0)
    midi->openPort(static_cast<unsigned int>(index - 1), output ? "RtMidi Output" : "RtMidi Input");
  return true;
}

void StandaloneHost::MidiCallback(double, std::vector<unsigned char>* message, void* userData)
{
  StandaloneHost* host = static_cast<StandaloneHost*>(userData);
  if (!host || !message)
    return;
  // Nothing may unwind into the port's thread: a message that cannot be passed on is dropped.
  try
  {
    host->OnMidi(*message);
  }
  catch (...)
  {
  }
}

void StandaloneHost::OnMidi(const std::vector<unsigned char>& message)
{
  if (message.empty() || mExiting)
    return;
  // System exclusive by its status byte, whatever its length; anything else is a short
  // message of at most three bytes.
  if (message[0] == 0xF0)
  {
    if (message.size() > static_cast<size_t>(pfw::SysExQueueEntry::kMaxSize))
      return;
    pfw::SysExQueueEntry entry;
    entry.offset = 0;
    entry.size = static_cast<int>(message.size());
    std::memcpy(entry.data, message.data(), message.size());
    mPlugin->PushSysExFromDevice(entry);
    return;
  }
  if (message.size() > 3)
    return;
  pfw::IMidiEvent event;
  event.offset = 0;
  event.status = message[0];
  event.data1 = message.size() > 1 ? message[1] : 0;
  event.data2 = message.size() > 2 ? message[2] : 0;
  mPlugin->PushMidiFromDevice(event);
}

void* StandaloneHost::OpenEditor(void* window)
{
  return mPlugin->OpenWindow(window);
}

void StandaloneHost::CloseEditor()
{
  mPlugin->CloseWindow();
}
