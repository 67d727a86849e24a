#include "product/editor/EditorLayout.h"

#include "product/core/ParamSpecTable.h"
#include "product/core/TarnwickProduct.h"
#include "product/editor/Backdrop.h"
#include "product/editor/Brand.h"
#include "product/editor/Button.h"
#include "product/editor/ContextHelp.h"
#include "product/editor/EditorPalette.h"
#include "product/editor/EditorText.h"
#include "product/editor/EnumMenu.h"
#include "product/editor/Knob.h"
#include "product/editor/MakerContact.h"
#include "product/editor/MeasurementFeed.h"
#include "product/editor/PresetMenu.h"
#include "product/editor/RigArtwork.h"
#include "product/editor/SignalDisplay.h"
#include "product/editor/Status.h"
#include "product/editor/ValueEntry.h"
#include "product/editor/ViewState.h"

#include "framework/graphics/IGui.h"

namespace editor {

namespace {

using pfw::gui::IRectF;

struct RowEntry
{
  const char* label;
  int paramIdx;
};

// The control row of each view, slot by slot.
constexpr int kSlots = 8;
constexpr RowEntry kViewRows[ViewState::kViewCount][kSlots] = {
  {{"PEDAL FAMILY", 14}, {"DRIVE", 15}, {"TONE", 16}, {"LEVEL", 17}, {"LOW CUT", 18}, {"BIAS", 19}, {"SAG", 20},
   {"BLEND", 21}},
  {{"GAIN", 24}, {"MASTER", 25}, {"BASS", 26}, {"MID", 27}, {"TREBLE", 28}, {"PRESENCE", 29}, {"DEPTH", 30},
   {"BRIGHT", 31}},
  {{"AMP FAMILY", 23}, {"SAG", 32}, {"BIAS", 33}, {"TIGHT", 34}, {"POWER DRIVE", 35}, {"POWER TYPE", 36}},
  {{"CAB FAMILY", 38}, {"CAB BLEND", 39}, {"RESONANCE", 40}, {"MIC TYPE", 41}, {"POSITION", 42}, {"DISTANCE", 43},
   {"ANGLE", 44}, {"ROOM", 49}},
  {{"SECOND MIC", 45}, {"MIC TYPE 2", 46}, {"CAB LOW CUT", 47}, {"CAB HIGH CUT", 48}},
  {{"LOW SHELF", 51}, {"MID GAIN", 52}, {"MID FREQ", 53}, {"MID Q", 54}, {"HIGH SHELF", 55}, {"HIGH PASS", 56},
   {"LOW PASS", 57}},
  {{"CHORUS RATE", 59}, {"CHORUS DEPTH", 60}, {"CHORUS MIX", 61}, {"DELAY TIME", 63}, {"FEEDBACK", 64},
   {"DELAY TONE", 65}},
  {{"DELAY MIX", 66}, {"PING PONG", 67}, {"ROOM SIZE", 69}, {"DECAY", 70}, {"DAMPING", 71}, {"REVERB MIX", 72}},
  {{"INPUT", 0}, {"OUTPUT", 1}, {"MIX", 2}, {"INPUT ROUTE", 3}, {"WIDTH", 73}, {"OUTPUT MODE", 80}, {"PAN", 83},
   {"COMPRESSION", 82}},
  {{"THRESHOLD", 6}, {"ATTACK", 7}, {"HOLD", 8}, {"RELEASE", 9}, {"RANGE", 10}, {"DETECTOR", 11}, {"SC TRIM", 12}},
  {{"MONITOR", 76}, {"ANALYZER", 77}, {"FFT SPEED", 78}, {"DC FILTER", 79}, {"POLARITY", 81}, {"SAFETY CLIP", 74},
   {"CEILING", 75}},
};

struct SubTab
{
  const char* label;
  int target;
};

// The sub-tabs of each view's group; views 0 and 5 stand alone.
constexpr SubTab kSubTabs[ViewState::kViewCount][3] = {
  {},
  {{"TONE", 1}, {"PREAMP / POWER", 2}},
  {{"TONE", 1}, {"PREAMP / POWER", 2}},
  {{"FIRST MIC / CAB", 3}, {"SECOND MIC / CUTS", 4}},
  {{"FIRST MIC / CAB", 3}, {"SECOND MIC / CUTS", 4}},
  {},
  {{"TIME / COLOUR", 6}, {"BLEND / ROOM", 7}},
  {{"TIME / COLOUR", 6}, {"BLEND / ROOM", 7}},
  {{"LEVEL / ROUTING", 8}, {"INPUT GATE", 9}, {"MONITOR / SAFETY", 10}},
  {{"LEVEL / ROUTING", 8}, {"INPUT GATE", 9}, {"MONITOR / SAFETY", 10}},
  {{"LEVEL / ROUTING", 8}, {"INPUT GATE", 9}, {"MONITOR / SAFETY", 10}},
};

constexpr RowEntry kStageSwitches[] = {{"GATE", 5},    {"PEDAL", 13},  {"AMP + POWER", 22}, {"CABINET", 37},
                                       {"EQ", 50},     {"CHORUS", 58}, {"DELAY", 62},       {"REVERB", 68}};
constexpr const char* kTabLabels[] = {"PEDAL", "AMP", "CABINET", "EQ", "EFFECTS", "UTILITY"};

// The parameters shown as on/off switches rather than menus.
bool IsSwitchParam(int paramIdx)
{
  constexpr int kSwitches[] = {4, 5, 13, 22, 37, 50, 58, 62, 67, 68, 74, 77, 79, 81};
  for (int s : kSwitches)
    if (s == paramIdx)
      return true;
  return false;
}

class LayoutBuilder
{
public:
  LayoutBuilder(TarnwickProduct& product, pfw::gui::IGui& g)
    : mProduct(product)
    , mGraphics(g)
    , mViewState(std::make_shared<ViewState>())
  {
  }

  std::shared_ptr<ViewState> Build();

private:
  void Attach(pfw::gui::IControl* control) { mGraphics.AttachControl(control, -1, ""); }
  Button* MakeButton(const IRectF& r, const char* label, ButtonKind kind, int target = -1, int paramIdx = -1)
  {
    return new Button(r, label, mProduct, mViewState, kind, target, paramIdx);
  }
  void AddParamControl(int paramIdx, const char* label, int view, int slot);
  void AddSubTabs(int view, const SubTab (&tabs)[3]);

  TarnwickProduct& mProduct;
  pfw::gui::IGui& mGraphics;
  std::shared_ptr<ViewState> mViewState;
};

void LayoutBuilder::AddParamControl(int paramIdx, const char* label, int view, int slot)
{
  const float x = 137.5f * static_cast<float>(slot) + 45.f;
  const IRectF column(x, 576.f, x + 130.f, 708.f);
  if (IsDiscreteParam(paramIdx) && IsSwitchParam(paramIdx))
  {
    mViewState->AddControl(
      mGraphics, MakeButton(IRectF(x + 5.f, 617.f, x + 125.f, 660.f), label, kButtonSwitch, -1, paramIdx), view);
  }
  else if (IsDiscreteParam(paramIdx))
  {
    mViewState->AddControl(mGraphics, new EnumMenu(column, paramIdx, label, mProduct, mViewState), view);
  }
  else
  {
    Knob* knob = new Knob(column, paramIdx, label, mProduct, mViewState);
    mViewState->AddControl(mGraphics, knob, view);
    ValueEntry* entry = new ValueEntry([knob](const char* text) { knob->ValueEntryCompletion(text); });
    knob->SetValueEntry(entry);
    Attach(entry);
  }
}

void LayoutBuilder::AddSubTabs(int view, const SubTab (&tabs)[3])
{
  static const IRectF kPlaces[3] = {IRectF(49.f, 505.f, 204.f, 534.f), IRectF(216.f, 505.f, 371.f, 534.f),
                                    IRectF(383.f, 505.f, 538.f, 534.f)};
  for (int i = 0; i < 3 && tabs[i].label; ++i)
    mViewState->AddControl(mGraphics, MakeButton(kPlaces[i], tabs[i].label, kButtonSubTab, tabs[i].target), view);
}

std::shared_ptr<ViewState> LayoutBuilder::Build()
{
  mGraphics.EnableMouseOver(true);
  mGraphics.EnableTooltips(true);
  mGraphics.SetScaleConstraints(0.85f, 1.5f);
  mGraphics.AttachTextEntryControl();
  mGraphics.LoadFont(kEditorFontId, kEditorFontResource);

  Attach(new Backdrop(IRectF(0.f, 0.f, 1180.f, 800.f)));
  Attach(new Brand(IRectF(28.f, 0.f, 238.f, 42.f), mGraphics.LoadSVG("quilltone_logo.svg", "px", 72.f), mViewState));

  Attach(new PresetMenu(IRectF(746.f, 40.f, 1015.f, 82.f), mProduct, mViewState));
  Attach(MakeButton(IRectF(1028.f, 40.f, 1084.f, 82.f), "A", kButtonBankSwitch));
  Attach(MakeButton(IRectF(1096.f, 40.f, 1144.f, 82.f), "COPY", kButtonCopyBank));

  const auto measurements = MakeEngineFeed(mProduct);
  Attach(new RigArtwork(IRectF(36.f, 150.f, 709.f, 389.f), mProduct, mViewState, measurements));
  Attach(new SignalDisplay(IRectF(724.f, 110.f, 1144.f, 389.f), measurements));

  Attach(new EnumMenu(IRectF(36.f, 110.f, 250.f, 146.f), kParamPedalType, nullptr, mProduct, mViewState));
  Attach(new EnumMenu(IRectF(264.f, 110.f, 477.f, 146.f), kParamAmpType, nullptr, mProduct, mViewState));
  Attach(new EnumMenu(IRectF(491.f, 110.f, 709.f, 146.f), kParamCabType, nullptr, mProduct, mViewState));

  for (int i = 0; i < 8; ++i)
  {
    const float left = 36.f + 140.f * static_cast<float>(i);
    Attach(MakeButton(IRectF(left, 401.f, left + 128.f, 442.f), kStageSwitches[i].label, kButtonSwitch, -1,
                      kStageSwitches[i].paramIdx));
  }
  for (int i = 0; i < 6; ++i)
  {
    const float left = 36.f + 187.f * static_cast<float>(i);
    Attach(MakeButton(IRectF(left, 454.f, left + 174.f, 493.f), kTabLabels[i], kButtonTab, i));
  }

  for (int view = 0; view < ViewState::kViewCount; ++view)
    for (int slot = 0; slot < kSlots && kViewRows[view][slot].label; ++slot)
      AddParamControl(kViewRows[view][slot].paramIdx, kViewRows[view][slot].label, view, slot);
  for (int view = 0; view < ViewState::kViewCount; ++view)
    AddSubTabs(view, kSubTabs[view]);

  Attach(new ContextHelp(IRectF(36.f, 720.f, 1144.f, 750.f), mViewState));

  Attach(MakeButton(IRectF(36.f, 762.f, 167.f, 794.f), "BYPASS", kButtonSwitch, -1, kParamBypass));
  Attach(new EnumMenu(IRectF(179.f, 762.f, 323.f, 794.f), kParamMonitor, nullptr, mProduct, mViewState));

  Attach(new Status(IRectF(337.f, 758.f, 942.f, 795.f), measurements));

  Attach(MakeButton(IRectF(958.f, 762.f, 1144.f, 794.f), kMakerSupportAddress, kButtonMailLink));

  mViewState->Apply(mGraphics);
  mGraphics.AttachCornerResizer(pfw::gui::IGui::kResizerScale, false, EditorPalette::Slate, EditorPalette::Amber,
                                EditorPalette::Teal, 20.f);
  return mViewState;
}

} // namespace

std::shared_ptr<ViewState> BuildEditorLayout(TarnwickProduct& product, pfw::gui::IGui* graphics)
{
  if (!graphics)
    return nullptr;
  return LayoutBuilder(product, *graphics).Build();
}

} // namespace editor
