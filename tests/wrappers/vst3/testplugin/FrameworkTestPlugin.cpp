// A plug-in class that stands directly on the VST3 wrapper, with what the product does
// not use: parameter groups, MIDI in and out, presets, the framework's own state, process
// call and bypass. Its module lets the host harness reach those paths.
//
// Gain and delay: the main input, delayed by the latency and scaled by "Gain", reaches the
// output; every MIDI message it receives is sent back out one sample later, and an
// infinite tail is reported. Above 150 kHz it reports twice the latency. When the host
// sets "Drive", its editor side sends two system-exclusive messages.
//
// Its editor holds one box linked to "Tone" with a context menu of its own.

#include "deps/vst3/helpers/ModuleEntry.h"
#include "deps/vst3/helpers/PluginFactory.h"
#include "framework/core/IDataChunk.h"
#include "framework/core/ParamChangeSource.h"
#include "framework/graphics/IControl.h"
#include "framework/graphics/IGui.h"
#include "framework/platform/windows/IGuiWin.h"
#include "wrappers/vst3/IPluginVST3.h"

#include <climits>
#include <cmath>
#include <new>

using namespace Steinberg;

namespace {

constexpr int kLatency = 4;
constexpr int kEditorWidth = 300;
constexpr int kEditorHeight = 200;
constexpr int kToneParam = 2;

using pfw::gui::PopupMenuItem;

// A box linked to "Tone" whose context menu holds A, a submenu S of B and a checked C, a
// separator, a checked and disabled "Größe" and a disabled D. A chosen item sets "Tone" to
// a tenth of its index, in one edit gesture.
class ToneBox : public pfw::gui::IControl
{
public:
  ToneBox()
    : IControl(pfw::gui::IRectF(20.f, 20.f, 120.f, 120.f), kToneParam)
  {
  }
  void Draw(pfw::gui::IGui& g) override { g.FillRect(pfw::gui::IArgbColour(255, 200, 120, 40), mRECT); }
  void CreateContextMenu(pfw::gui::IPopupMenu& menu) override
  {
    menu.AddItem("A");
    auto* submenu = new pfw::gui::IPopupMenu(nullptr, {"B"});
    submenu->AddItem("C", PopupMenuItem::kChecked);
    menu.AddItem("S")->SetSubmenu(submenu);
    menu.AddSeparator();
    menu.AddItem("Gr\xC3\xB6\xC3\x9F" "e", PopupMenuItem::kChecked | PopupMenuItem::kDisabled);
    menu.AddItem("D", PopupMenuItem::kDisabled);
  }
  void OnContextSelection(int index) override { SetValueFromUserInput(index / 10.0); }
};

pfw::IPluginConfig TestConfig()
{
  pfw::IPluginConfig config;
  config.nParams = 5;
  config.nPresets = 2;
  config.channelIOStr = "2-2 2.2-2";
  config.pluginName = "Framework Test";
  config.mfrName = "Harness";
  config.uniqueID = pfw::FourCharCode("Frmw");
  config.mfrID = pfw::FourCharCode("Test");
  config.latency = kLatency;
  config.plugDoesMidiIn = true;
  config.plugDoesMidiOut = true;
  config.plugHasUI = true;
  config.plugWidth = kEditorWidth;
  config.plugHeight = kEditorHeight;
  return config;
}

class FrameworkTestPlugin : public pfw::IPluginVST3
{
public:
  FrameworkTestPlugin()
    : IPluginVST3(InstanceInfo{}, TestConfig())
  {
    GetParam(0)->InitDouble("Gain", 1.0, 0.0, 2.0, 0.01, "x", 0, "Level");
    GetParam(1)->SetType(pfw::IParam::kTypeEnum);
    GetParam(1)->InitInt("Mode", 0, 0, 2, "", 0, "Character");
    GetParam(1)->SetDisplayText(0, "Clean");
    GetParam(1)->SetDisplayText(1, "Warm");
    GetParam(1)->SetDisplayText(2, "Hot");
    GetParam(2)->InitDouble("Tone", 0.5, 0.0, 1.0, 0.01, "", 0, "Character");
    GetParam(3)->InitDouble("Trim", 0.0, -12.0, 12.0, 0.1, "dB", pfw::IParam::kFlagCannotAutomate, "");
    GetParam(4)->InitDouble("Drive", 0.0, 0.0, 10.0, 0.1, "", 0, "Shape");
    for (int i = 0; i < NParams(); ++i)
      GetParam(i)->Set(GetParam(i)->GetDefault());
    pfw::IDataChunk chunk;
    SerializeState(chunk);
    MakePresetFromChunk("First", chunk);
    MakePresetFromChunk("Second", chunk);
    SetTailSize(INT_MAX);
    SetMakeGraphicsFunc(
      [this]() -> pfw::IEditorGraphics* { return new (std::nothrow) pfw::gui::IGuiWin(*this, kEditorWidth, kEditorHeight, 30); });
    SetLayoutFunc([](pfw::IEditorGraphics* graphics) {
      if (auto* gui = dynamic_cast<pfw::gui::IGui*>(graphics); gui && gui->NControls() == 0)
        gui->AttachControl(new (std::nothrow) ToneBox);
    });
  }

  void ProcessBlock(float** inputs, float** outputs, int nFrames) override
  {
    const float gain = static_cast<float>(GetParam(0)->Value());
    for (int s = 0; s < nFrames; ++s)
    {
      for (int c = 0; c < 2; ++c)
      {
        float sample = inputs[c][s];
        if (!std::isfinite(sample))
          sample = 0.0f;
        const float delayed = mDelay[c][mPosition];
        mDelay[c][mPosition] = sample;
        outputs[c][s] = delayed * gain;
      }
      mPosition = (mPosition + 1) % kLatency;
    }
  }

  void OnParamChangeUI(int paramIdx, int source) override
  {
    IPluginVST3::OnParamChangeUI(paramIdx, source);
    if (paramIdx != 4 || source != pfw::kHost)
      return;
    for (uint8_t id : {uint8_t{1}, uint8_t{2}})
    {
      const uint8_t bytes[] = {0xF0, id, 0xF7};
      pfw::ISysExMessage message;
      message.size = 3;
      message.data = bytes;
      SendSysexMsgFromUI(message);
    }
  }

  void ProcessMidiMsg(const pfw::IMidiEvent& event) override
  {
    pfw::IMidiEvent echo = event;
    echo.offset += 1;
    SendMidiMsg(echo);
  }

  void OnActivate(bool active) override
  {
    if (active)
      SetLatency(GetSampleRate() > 150000.0 ? 2 * kLatency : kLatency);
  }

  void OnReset() override
  {
    for (auto& channel : mDelay)
      for (float& sample : channel)
        sample = 0.0f;
    mPosition = 0;
  }

private:
  float mDelay[2][kLatency] = {};
  int mPosition = 0;
};

FUnknown* CreateFrameworkTestPlugin(void*)
{
  try
  {
    FrameworkTestPlugin* plugin = new FrameworkTestPlugin;
    return static_cast<Vst::IAudioProcessor*>(plugin);
  }
  catch (...)
  {
    return nullptr;
  }
}

bool RegisterFrameworkTestPlugin(CPluginFactory& factory)
{
  // "TEST" "FRMW" "HARR" "NESS"
  return factory.registerAudioEffect({{0x54455354, 0x46524D57, 0x48415252, 0x4E455353}, "Framework Test", "Fx",
                                      "1.0.0", "VST 3.8.1"},
                                     CreateFrameworkTestPlugin);
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
  static const PFactoryInfo info = {"Harness", "https://example.invalid", "harness@example.invalid",
                                    PFactoryInfo::kUnicode};
  return CPluginFactory::acquireModuleFactory(info, RegisterFrameworkTestPlugin);
}
