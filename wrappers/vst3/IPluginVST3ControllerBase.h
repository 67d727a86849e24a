#pragma once

#include "deps/vst3/helpers/ParameterContainer.h"
#include "deps/vst3/interfaces/IMessage.h"
#include "framework/core/GrowString.h"
#include "framework/core/PointerList.h"

#include <cstdint>

namespace pfw {

class IPluginVST3;
class IPluginVST3BypassParameter;
class IPluginVST3View;

// The controller side's data: the parameter container, the bypass parameter and what the
// host told about the track the plug-in sits on.
class IPluginVST3ControllerBase
{
public:
  static constexpr Steinberg::Vst::ParamID kBypassTag = 65536;
  static constexpr Steinberg::Vst::ParamID kProgramChangeTag = 65537;
  static constexpr Steinberg::Vst::ParamID kFirstMidiTag = 65538;
  static constexpr int kMidiControllersPerChannel = 130;

  explicit IPluginVST3ControllerBase(Steinberg::Vst::ParameterContainer& parameters);
  IPluginVST3ControllerBase(const IPluginVST3ControllerBase&) = delete;
  IPluginVST3ControllerBase& operator=(const IPluginVST3ControllerBase&) = delete;

  // Declares the bypass parameter (effects only), the unit tree, one parameter per IParam
  // and, with MIDI input, the controller parameters of channel 1. False when memory fails.
  bool Initialize(IPluginVST3& plugin, bool instrument, bool midiIn);
  // Takes whatever track attributes the list holds; false without a list.
  bool SetChannelContextInfos(Steinberg::Vst::IAttributeList* list);
  // Forgets the parameters the controller dropped.
  void ForgetParameters() { mBypassParameter = nullptr; }

  IPluginVST3BypassParameter* GetBypassParameter() const { return mBypassParameter; }

  // The view that last showed the editor, or else the one made last, while it lives: the
  // editor's resize requests go to its frame.
  IPluginVST3View* GetView() const { return mView; }
  void SetView(IPluginVST3View* view) { mView = view; }
  void ForgetView(const IPluginVST3View* view)
  {
    if (mView == view)
      mView = nullptr;
  }

protected:
  Steinberg::Vst::ParameterContainer* mParameters;
  IPluginVST3BypassParameter* mBypassParameter = nullptr;
  IPluginVST3View* mView = nullptr;
  GrowString mTrackName;
  GrowString mTrackNamespace;
  GrowString mTrackIdentifier;
  int mTrackNamespaceOrder = 0;
  int mTrackIndex = 0;
  uint32_t mTrackColour = 0;
  PointerList<GrowString> mGroupNames{true};
};

} // namespace pfw
