#pragma once

#include "deps/audio/RtAudio.h"
#include "deps/midi/RtMidi.h"
#include "framework/core/GrowString.h"
#include "wrappers/standalone/BlockLoop.h"
#include "wrappers/standalone/StandaloneSettings.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pfw {
class IPluginAPP;
}

// The standalone program's one host: it owns the plug-in, the settings file, the audio
// stream and the MIDI ports. Device buffers become 512-frame blocks with a short fade at
// every start and stop; incoming MIDI goes to the plug-in's rings.
class StandaloneHost
{
public:
  using PluginFactory = pfw::IPluginAPP* (*)(StandaloneHost& host);

  // What the host asks of the desktop; tests replace them so that nothing blocks.
  struct Services
  {
    std::function<int(HWND owner, const char* text, const char* caption, UINT type)> showMessage;
    // The per-user local application-data folder, without a trailing separator.
    std::function<bool(pfw::GrowString& folder)> localAppDataFolder;
    // Messages of the audio layer, from any thread.
    std::function<void(const std::string& text)> reportAudioError;
    // The device layers' back ends.
    audio::BackendFactory makeAudioBackend = audio::MakeDirectSoundBackend;
    midi::BackendFactory makeMidiBackend = midi::MakeWinMmBackend;
  };
  static Services DefaultServices();

  // Makes the one host (deleting an earlier one first); null when the plug-in could not
  // be made.
  static StandaloneHost* Create(PluginFactory makePlugin, Services services = DefaultServices());
  static StandaloneHost* Get();
  // Tear-down of the one host, when the main window goes.
  static void Destroy();

  ~StandaloneHost();
  StandaloneHost(const StandaloneHost&) = delete;
  StandaloneHost& operator=(const StandaloneHost&) = delete;

  bool Init();
  bool ReadSettings();
  bool WriteSettings();
  void CreateAudioDriver();
  void ProbeAudioDevices();
  std::string GetAudioDeviceName(unsigned int id);
  std::optional<unsigned int> FindAudioDeviceId(const char* name);
  bool TryStartAudio();
  bool OpenAudioStream(unsigned int inputId, unsigned int outputId, int sampleRate, int bufferFrames);
  void StopAudio();
  bool CreateMidi();
  void ProbeMidiPorts();
  int FindMidiPortIndex(bool output, const char* name);
  bool SelectMidiPort(bool output, const char* name);
  void* OpenEditor(void* window);
  void CloseEditor();

  pfw::IPluginAPP* GetPlugin() const { return mPlugin; }
  RtAudio* GetAudioDriver() const { return mAudio.get(); }
  RtMidiIn* GetMidiInput() const { return mMidiIn.get(); }
  RtMidiOut* GetMidiOutput() const { return mMidiOut.get(); }

  StandaloneSettings& EditedSettings() { return mEdited; }
  StandaloneSettings& BackupSettings() { return mBackup; }
  const StandaloneSettings& ActiveSettings() const { return mActive; }
  const char* GetSettingsPath() const { return mSettingsPath.Get(); }

  void SetNoIO(bool noIO) { mNoIO = noIO; }
  bool IsNoIO() const { return mNoIO; }
  void SetScreenshotPath(const char* path);
  const char* GetScreenshotPath() const { return mScreenshotPath.Get(); }
  // The owner of the host's message boxes.
  void SetMainWindow(HWND window) { mMainWindow = window; }

  const std::vector<unsigned int>& InputDeviceIds() const { return mInputDeviceIds; }
  const std::vector<unsigned int>& OutputDeviceIds() const { return mOutputDeviceIds; }
  std::optional<unsigned int> DefaultInputId() const { return mDefaultInputId; }
  std::optional<unsigned int> DefaultOutputId() const { return mDefaultOutputId; }
  const std::vector<std::string>& MidiInputNames() const { return mMidiInputNames; }
  const std::vector<std::string>& MidiOutputNames() const { return mMidiOutputNames; }

  double GetSampleRate() const { return mSampleRate; }
  unsigned int GetBufferFrames() const { return mBufferFrames; }
  uint32_t SamplesProcessed() const { return mBlocks.SamplesProcessed(); }
  uint32_t CallbackCount() const { return mCallbackCount.load(); }
  int StreamInputChannels() const { return mBlocks.Inputs(); }
  int StreamOutputChannels() const { return mBlocks.Outputs(); }

  static int AudioCallback(void* outputBuffer, void* inputBuffer, unsigned int nFrames, double streamTime,
                           RtAudioStreamStatus status, void* userData);
  static void MidiCallback(double timeStamp, std::vector<unsigned char>* message, void* userData);

private:
  explicit StandaloneHost(Services services);
  void OnAudio(double* output, double* input, unsigned int n);
  // A callback whose processing threw plays silence and the next one fades in again.
  void OnAudioFailed(double* output, unsigned int n);
  void OnMidi(const std::vector<unsigned char>& message);
  // The rate that both devices list and the plug-in runs that lies nearest to `rate`; when
  // there is none, `rate` brought into the plug-in's range.
  int NearestSharedSampleRate(unsigned int inputId, unsigned int outputId, int rate);
  // Asks the callback for a fade-out and waits for it, but not for a callback that no
  // longer comes; then stops the stream.
  void FadeOutAndAbort();

  pfw::IPluginAPP* mPlugin = nullptr;
  std::unique_ptr<RtAudio> mAudio;
  std::unique_ptr<RtMidiIn> mMidiIn;
  std::unique_ptr<RtMidiOut> mMidiOut;
  StandaloneSettings mEdited, mBackup, mActive;
  double mSampleRate = 44100.0;
  std::atomic<uint32_t> mCallbackCount{0}; // 0 before the first callback of a stream (and after one that failed), then 1
  unsigned int mBufferFrames = 512;
  std::atomic<bool> mExiting{false};
  std::atomic<bool> mFadeOutRequested{false};
  std::atomic<bool> mFadeOutDone{false};
  bool mNoIO = false;
  std::optional<unsigned int> mDefaultInputId, mDefaultOutputId;
  pfw::GrowString mSettingsPath;
  pfw::GrowString mScreenshotPath;
  std::vector<unsigned int> mInputDeviceIds, mOutputDeviceIds;
  std::vector<std::string> mMidiInputNames, mMidiOutputNames;
  BlockLoop mBlocks;
  Services mServices;
  HWND mMainWindow = nullptr;
};
