// Edits the plug-in starts reach the host as whole gestures, the controller's parameters
// follow them and the editor's delegate hears of the editor's own; tested in-process with a
// recording component handler.

#include "deps/vst3/helpers/StringConvert.h"
#include "framework/core/ParamChangeSource.h"
#include "wrappers/vst3/IPluginVST3.h"
#include "wrappers/vst3/IPluginVST3Parameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

class RecordingHandler : public IComponentHandler, public IComponentHandler2
{
public:
  std::vector<std::string> calls;
  int references = 1;

  tresult VST3_CALL queryInterface(const TUID iid, void** obj) override
  {
    if (uidEqual(iid, IComponentHandler::iid) || uidEqual(iid, FUnknown::iid))
      *obj = static_cast<IComponentHandler*>(this);
    else if (uidEqual(iid, IComponentHandler2::iid))
      *obj = static_cast<IComponentHandler2*>(this);
    else
    {
      *obj = nullptr;
      return kNoInterface;
    }
    ++references;
    return kResultOk;
  }
  uint32 VST3_CALL addRef() override { return static_cast<uint32>(++references); }
  uint32 VST3_CALL release() override { return static_cast<uint32>(--references); }
  tresult VST3_CALL beginEdit(ParamID id) override { return record("begin " + std::to_string(id)); }
  tresult VST3_CALL performEdit(ParamID id, ParamValue value) override
  {
    return record("perform " + std::to_string(id) + " " + std::to_string(value));
  }
  tresult VST3_CALL endEdit(ParamID id) override { return record("end " + std::to_string(id)); }
  tresult VST3_CALL restartComponent(int32 flags) override { return record("restart " + std::to_string(flags)); }
  tresult VST3_CALL setDirty(TBool) override { return kResultOk; }
  tresult VST3_CALL requestOpenEditor(FIDString) override { return kResultOk; }
  tresult VST3_CALL startGroupEdit() override { return record("group start"); }
  tresult VST3_CALL finishGroupEdit() override { return record("group end"); }

private:
  tresult record(const std::string& call)
  {
    calls.push_back(call);
    return kResultOk;
  }
};

pfw::IPluginConfig TwoParameters()
{
  pfw::IPluginConfig config;
  config.nParams = 2;
  config.channelIOStr = "2-2";
  return config;
}

// Records what the editor's delegate hears of changes from the editor, with the value the
// plug-in holds by then.
class EditorListeningPlugin : public pfw::IPluginVST3
{
public:
  EditorListeningPlugin()
    : IPluginVST3(InstanceInfo{}, TwoParameters())
  {
  }
  void OnParamChangeUI(int paramIdx, int source) override
  {
    if (source == pfw::kUI)
      heard.push_back(std::to_string(paramIdx) + " " + std::to_string(GetParam(paramIdx)->Value()));
  }
  std::vector<std::string> heard;
};

struct InitialisedPlugin
{
  EditorListeningPlugin* plugin = new EditorListeningPlugin;
  RecordingHandler handler;

  InitialisedPlugin()
  {
    plugin->GetParam(0)->InitDouble("Level", 0.0, -10.0, 10.0, 0.1, "dB");
    plugin->GetParam(1)->InitDouble("Blend", 0.5, 0.0, 1.0, 0.01);
    EXPECT_EQ(plugin->initialize(nullptr), kResultOk);
    EXPECT_EQ(plugin->setComponentHandler(&handler), kResultOk);
  }
  ~InitialisedPlugin()
  {
    plugin->terminate();
    plugin->release();
  }
};

} // namespace

TEST(Vst3HostNotification, EditorEditsAreWholeGesturesAndTheControllerFollows)
{
  InitialisedPlugin object;
  pfw::IPluginVST3& plugin = *object.plugin;
  plugin.BeginParamEditFromUI(0);
  plugin.SendParameterValueFromUI(0, 0.75);
  plugin.EndParamEditFromUI(0);
  EXPECT_EQ(object.handler.calls, (std::vector<std::string>{"begin 0", "perform 0 0.750000", "end 0"}));
  EXPECT_EQ(plugin.getParamNormalized(0), 0.75);
  EXPECT_DOUBLE_EQ(plugin.GetParam(0)->Value(), 5.0);
}

TEST(Vst3HostNotification, TheDelegateHearsOfEveryEditorEditOnceTheValueIsStored)
{
  const struct
  {
    int param;
    double value;
    std::vector<std::string> heard;
  } cases[] = {{0, 0.75, {"0 5.000000"}}, {1, 0.2, {"1 0.200000"}}, {0, NAN, {}}, {2, 0.5, {}}};
  for (const auto& c : cases)
  {
    InitialisedPlugin object;
    object.plugin->SendParameterValueFromUI(c.param, c.value);
    EXPECT_EQ(object.plugin->heard, c.heard) << c.param << " " << c.value;
  }
}

TEST(Vst3HostNotification, AllValuesGoInOneGroupEachInItsOwnGesture)
{
  InitialisedPlugin object;
  pfw::IPluginVST3& plugin = *object.plugin;
  plugin.GetParam(0)->Set(-10.0);
  plugin.GetParam(1)->Set(1.0);
  plugin.SendAllParamValuesToHost();
  EXPECT_EQ(object.handler.calls,
            (std::vector<std::string>{"group start", "begin 0", "perform 0 0.000000", "end 0", "begin 1",
                                      "perform 1 1.000000", "end 1", "group end"}));
  EXPECT_EQ(plugin.getParamNormalized(0), 0.0);
  EXPECT_EQ(plugin.getParamNormalized(1), 1.0);
  object.handler.calls.clear();
  plugin.NotifyHostParamDetailsChanged();
  EXPECT_EQ(object.handler.calls, (std::vector<std::string>{"restart 16"}));
}

TEST(Vst3HostNotification, ValuesToTheEditorAlsoReachTheControllersParameters)
{
  InitialisedPlugin object;
  pfw::IPluginVST3& plugin = *object.plugin;
  plugin.SendParameterValueFromDelegate(1, 0.25, true);
  EXPECT_EQ(plugin.getParamNormalized(1), 0.25);
  plugin.SendParameterValueFromDelegate(0, 5.0, false); // a plain value
  EXPECT_EQ(plugin.getParamNormalized(0), 0.75);
  plugin.SendParameterValueFromDelegate(0, NAN, true);
  EXPECT_EQ(plugin.getParamNormalized(0), 0.75);
  EXPECT_TRUE(object.handler.calls.empty()); // the host is not told of values it did not ask for
}

TEST(Vst3HostNotification, IdentifiesItselfByClassName)
{
  InitialisedPlugin object;
  pfw::IPluginVST3& plugin = *object.plugin;
  EXPECT_STREQ(plugin.isA(), "IPluginVST3");
  for (const char* base : {"IPluginVST3", "SingleComponentEffect", "EditControllerEx1", "EditController",
                           "ComponentBase", "FObject"})
    EXPECT_TRUE(plugin.isTypeOf(base, true)) << base;
  EXPECT_FALSE(plugin.isTypeOf("EditController", false));
  EXPECT_TRUE(plugin.isTypeOf("IPluginVST3", false));
  pfw::IPluginVST3Parameter parameter(*plugin.GetParam(0), 0, 0);
  EXPECT_STREQ(parameter.isA(), "IPluginVST3Parameter");
  EXPECT_TRUE(parameter.isTypeOf("Parameter", true));
  EXPECT_FALSE(parameter.isTypeOf("StringListParameter", true));
  pfw::IPluginVST3BypassParameter* bypass = plugin.GetBypassParameter();
  ASSERT_NE(bypass, nullptr);
  EXPECT_TRUE(bypass->isTypeOf("StringListParameter", true));
  EXPECT_EQ(bypass->getInfo().flags, 0x10009);
}
