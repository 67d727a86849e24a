#include "product/editor/RigArtwork.h"

#include "product/editor/ControlFrame.h"
#include "product/editor/EditorPalette.h"
#include "product/editor/EditorText.h"
#include "product/editor/ViewState.h"

#include "framework/core/IGuiEditorDelegate.h"
#include "framework/core/IParam.h"
#include "framework/graphics/IGui.h"
#include "product/core/ParamSpecTable.h"
#include "product/core/TarnwickProduct.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using pfw::gui::IArgbColour;
using pfw::gui::IGui;
using pfw::gui::IPointerMods;
using pfw::gui::IRectF;

namespace editor {

namespace {
constexpr float kCornerRadius = 7.f;
constexpr const char* kHoverHelpTitle = "YOUR ORIGINAL RIG / CAB MIC DRAG";
constexpr const char* kHoverHelpBody =
  "Pedal, amp and cabinet guides reflect physical settings. Drag the cabinet mic for Position and Distance; "
  "artwork does not imply captured commercial hardware or IRs.";
constexpr const char* kDragHelpTitle = "CABINET MICROPHONE / PHYSICAL POSITION";
constexpr const char* kDragHelpBody =
  "Horizontal drag moves centre to edge; vertical drag changes centimetres of distance. Shift is finer. The "
  "matching numeric controls and host values update together.";

// Where a press takes hold of the microphone: the cabinet with a margin.
const IRectF kMicrophoneArea(465.f, 166.f, 711.f, 352.f);
// The view whose knobs show the microphone's position and distance.
constexpr int kFirstCabinetView = 3;

const IRectF kCabinet(480.f, 181.f, 696.f, 337.f);
constexpr float kPi = 3.14159265358979f;

void Text(IGui& g, const char* text, const IRectF& area, float size, const IArgbColour& colour)
{
  g.DrawText(EditorTextStyle(size, colour), text, area);
}

// A knob pointer from `inner` to `outer` units out from the centre, at `degrees` (0 up,
// clockwise).
void Pointer(IGui& g, float cx, float cy, float degrees, float inner, float outer, float thickness)
{
  const float s = std::sin(degrees * kPi / 180.f);
  const float c = std::cos(degrees * kPi / 180.f);
  g.DrawLine(EditorPalette::Text, cx + inner * s, cy - inner * c, cx + outer * s, cy - outer * c, nullptr, thickness);
}

// Parallel grille lines at `first`, `first + step`, ... while below `end`, each from `from`
// to `to` across, stroked as one path: the picture is redrawn in every frame.
void Grille(IGui& g, const IArgbColour& colour, bool vertical, float first, float end, float step, float from,
            float to)
{
  g.PathClear();
  for (float at = first; at < end; at += step)
  {
    g.PathMoveTo(vertical ? at : from, vertical ? from : at);
    g.PathLineTo(vertical ? at : to, vertical ? to : at);
  }
  g.PathStroke(pfw::gui::IColourSource::FromColour(colour), 1.f, pfw::gui::IStrokeStyle(), nullptr);
}

struct KnobPlace
{
  int paramIdx;
  const char* name;
};

void Speaker(IGui& g, float cx, float cy, float r)
{
  g.FillCircle(IArgbColour(255, 39, 45, 44), cx, cy, r);
  g.DrawCircle(IArgbColour(255, 79, 88, 82), cx, cy, r);
  g.DrawCircle(IArgbColour(255, 56, 65, 60), cx, cy, 0.75f * r);
  g.FillCircle(IArgbColour(255, 27, 34, 33), cx, cy, 0.3f * r);
}

IArgbColour PedalColour(int family)
{
  if (family >= 12)
    return IArgbColour(255, 71, 87, 115);
  if (family >= 7)
    return IArgbColour(255, 123, 67, 55);
  return IArgbColour(255, 83, 102, 83);
}
} // namespace

RigArtwork::RigArtwork(const IRectF& bounds, TarnwickProduct& product, std::shared_ptr<ViewState> viewState,
                       std::shared_ptr<const MeasurementFeed> feed)
  : IControl(bounds)
  , mProduct(product)
  , mViewState(std::move(viewState))
  , mMeasurements(std::move(feed))
{
  SetTooltip(kTooltip);
}

// An editor closed in the middle of a drag still closes the host's edit.
RigArtwork::~RigArtwork()
{
  EndDrag();
}

double RigArtwork::Physical(int paramIdx) const
{
  return mProduct.GetCurrentParamValue(paramIdx);
}

double RigArtwork::Normalized(int paramIdx) const
{
  const pfw::IParam* param = mDelegate ? mDelegate->GetParam(paramIdx) : nullptr;
  return param ? param->GetNormalized() : 0.0;
}

bool RigArtwork::CabinetOn() const
{
  return Physical(kParamCabEnabled) >= 0.5;
}

void RigArtwork::EndDrag()
{
  if (!mDrag.Active())
    return;
  mDrag.End();
  if (mDelegate)
  {
    mDelegate->EndParamEditFromUI(kParamMicPosition);
    mDelegate->EndParamEditFromUI(kParamMicDistance);
  }
}

void RigArtwork::OnMouseDown(float x, float y, const IPointerMods& mods)
{
  EndDrag();
  if (mods.right || !mDelegate || !CabinetOn() || !kMicrophoneArea.Contains(x, y))
    return;
  mDrag.Begin(x, y, Physical(kParamMicPosition), Physical(kParamMicDistance), mods.shift);
  mDelegate->BeginParamEditFromUI(kParamMicPosition);
  mDelegate->BeginParamEditFromUI(kParamMicDistance);
  if (mGraphics)
    mViewState->ShowView(kFirstCabinetView, *mGraphics);
  mViewState->SetHelp(kDragHelpTitle, kDragHelpBody);
}

void RigArtwork::OnMouseDrag(float x, float y, float /*dX*/, float /*dY*/, const IPointerMods& mods)
{
  if (!mDrag.Active())
    return;
  double position = 0.0;
  double distance = 0.0;
  mDrag.Move(x, y, mods.shift, position, distance);
  mProduct.SetParamFromPhysical(kParamMicPosition, position, false);
  mProduct.SetParamFromPhysical(kParamMicDistance, distance, false);
  if (mGraphics)
    mGraphics->SetAllControlsDirty();
}

void RigArtwork::OnMouseUp(float /*x*/, float /*y*/, const IPointerMods& /*mods*/)
{
  EndDrag();
}

void RigArtwork::OnMouseCancelled(float /*x*/, float /*y*/, const IPointerMods& /*mods*/)
{
  EndDrag();
}

void RigArtwork::OnMouseDblClick(float x, float y, const IPointerMods& mods)
{
  EndDrag();
  if (mods.right || !CabinetOn() || !kMicrophoneArea.Contains(x, y))
    return;
  mProduct.SetParamFromPhysical(kParamMicPosition, ParamSpecTable::kDefaults[kParamMicPosition], true);
  mProduct.SetParamFromPhysical(kParamMicDistance, ParamSpecTable::kDefaults[kParamMicDistance], true);
  if (mGraphics)
    mGraphics->SetAllControlsDirty();
}

void RigArtwork::OnMouseOver(float x, float y, const IPointerMods& mods)
{
  mViewState->SetHelp(kHoverHelpTitle, kHoverHelpBody);
  IControl::OnMouseOver(x, y, mods);
}

IRectF RigArtwork::OpaqueArea() const
{
  return OpaqueInside(mRECT, kCornerRadius);
}

bool RigArtwork::IsDirty()
{
  mDirty = true;
  return IControl::IsDirty();
}

void RigArtwork::Draw(IGui& g)
{
  mMeasurements.Renew(NowMs(), false);
  g.FillRoundRect(IArgbColour(255, 21, 26, 30), mRECT, kCornerRadius);
  g.DrawRoundRect(EditorPalette::Slate, mRECT, kCornerRadius);
  DrawPedal(g);
  DrawAmplifier(g);
  DrawCabinet(g);
  DrawMicrophone(g);
  g.DrawLine(EditorPalette::Slate, 180.f, 272.f, 206.f, 272.f, nullptr, 2.f);
  g.DrawLine(EditorPalette::Slate, 452.f, 272.f, 480.f, 272.f, nullptr, 2.f);
  DrawSignalGlow(g);
}

void RigArtwork::DrawPedal(IGui& g)
{
  const IRectF body(60.f, 179.f, 180.f, 343.f);
  g.FillRoundRect(IArgbColour(110, 0, 0, 0), IRectF(63.f, 183.f, 183.f, 347.f), 7.f);
  g.FillRoundRect(PedalColour(static_cast<int>(Physical(kParamPedalType))), body, 7.f);
  g.DrawRoundRect(EditorPalette::Amber, body.Inflated(-2.f), 6.f);
  Text(g, "TW / ORIGINAL", IRectF(66.f, 192.f, 174.f, 213.f), 10.f, EditorPalette::Text);

  // Each name is centred under its knob: spaces in one caption cannot line them up in a
  // proportional font.
  const KnobPlace knobs[3] = {{kParamPedalDrive, "DRIVE"}, {kParamPedalTone, "TONE"}, {kParamPedalLevel, "LEVEL"}};
  for (int i = 0; i < 3; ++i)
  {
    const float x = 84.f + 35.f * static_cast<float>(i);
    g.FillCircle(EditorPalette::Ink, x, 233.f, 12.f);
    g.DrawCircle(EditorPalette::MutedText, x, 233.f, 12.f);
    Pointer(g, x, 233.f, static_cast<float>(Normalized(knobs[i].paramIdx) * 260.0 - 130.0), 4.f, 9.f, 2.f);
    Text(g, knobs[i].name, IRectF(x - 17.5f, 252.f, x + 17.5f, 270.f), 9.f, EditorPalette::Text);
  }

  const bool on = Physical(kParamPedalEnabled) >= 0.5;
  g.FillCircle(on ? EditorPalette::Amber : EditorPalette::Slate, 120.f, 283.f, 3.5f);
  g.FillCircle(IArgbColour(255, 135, 143, 146), 120.f, 315.f, 13.f);
  g.DrawCircle(EditorPalette::Text, 120.f, 315.f, 8.f);
  Text(g, "PEDAL", IRectF(60.f, 349.f, 180.f, 374.f), 11.f, EditorPalette::MutedText);
}

void RigArtwork::DrawAmplifier(IGui& g)
{
  const IRectF body(206.f, 186.f, 452.f, 330.f);
  g.FillRoundRect(IArgbColour(255, 45, 44, 41), body, 6.f);
  g.DrawRoundRect(IArgbColour(255, 98, 85, 68), body, 6.f);

  g.FillRoundRect(IArgbColour(255, 24, 29, 32), IRectF(218.f, 198.f, 440.f, 273.f), 3.f);
  Grille(g, IArgbColour(255, 52, 53, 49), true, 221.f, 437.f, 7.f, 200.f, 271.f);
  Grille(g, IArgbColour(255, 49, 49, 46), false, 204.f, 270.f, 8.f, 218.f, 440.f);
  Text(g, "TARN WICK", IRectF(238.f, 220.f, 418.f, 250.f), 21.f, EditorPalette::Amber);

  g.FillRect(IArgbColour(255, 155, 125, 87), IRectF(218.f, 278.f, 440.f, 317.f));
  const KnobPlace knobs[6] = {{kParamAmpGain, "GAIN"}, {kParamAmpBass, "BASS"},         {kParamAmpMid, "MID"},
                              {kParamAmpTreble, "TREB"}, {kParamAmpPresence, "PRES"}, {kParamAmpMaster, "MASTER"}};
  for (int j = 0; j < 6; ++j)
  {
    const float x = 235.f + 36.f * static_cast<float>(j);
    g.FillCircle(EditorPalette::Ink, x, 294.f, 8.f);
    Pointer(g, x, 294.f, static_cast<float>(Normalized(knobs[j].paramIdx) * 270.0 - 135.0), 2.f, 6.f, 1.6f);
    Text(g, knobs[j].name, IRectF(x - 18.f, 301.f, x + 18.f, 316.f), 8.f, EditorPalette::Ink);
  }
  Text(g, "AMP + POWER", IRectF(206.f, 347.f, 452.f, 374.f), 11.f, EditorPalette::MutedText);
}

void RigArtwork::DrawCabinet(IGui& g)
{
  const IRectF& k = kCabinet;
  g.FillRoundRect(IArgbColour(255, 48, 43, 38), k, 6.f);
  g.DrawRoundRect(EditorPalette::Amber, k, 6.f);
  g.FillRect(IArgbColour(255, 26, 29, 30), k.Inflated(-8.f));
  Grille(g, IArgbColour(255, 50, 53, 49), true, k.L + 9.f, k.R - 8.f, 6.f, k.T + 8.f, k.B - 8.f);

  const int family = static_cast<int>(Physical(kParamCabType));
  const float left = k.L + 60.f;
  const float right = k.L + 157.f;
  switch (family)
  {
  case 0: case 1: case 3: Speaker(g, k.MW(), k.MH(), 48.f); break;
  case 2: case 4:
    Speaker(g, left, k.MH(), 30.f);
    Speaker(g, right, k.MH(), 30.f);
    break;
  case 5: case 6: case 7: case 8:
    for (float y : {k.T + 43.f, k.T + 114.f})
    {
      Speaker(g, left, y, 30.f);
      Speaker(g, right, y, 30.f);
    }
    break;
  default: Text(g, "DIRECT / FULL RANGE", k.Inflated(-14.f), 14.f, EditorPalette::MutedText); break;
  }
}

void RigArtwork::DrawMicrophone(IGui& g)
{
  const MicrophonePlace mic = PlaceMicrophone(Physical(kParamMicPosition), Physical(kParamMicDistance));
  const float x = mic.x;
  const float y = mic.y;
  // The stand rests between the cabinet and the caption below it.
  const float floor = kCabinet.B + 12.f;
  g.DrawLine(IArgbColour(255, 118, 127, 133), x + 11.f, y + 10.f, x + 34.f, floor, nullptr, 3.f);
  // The stand ends inside the picture even with the microphone at the cabinet's edge.
  g.DrawLine(EditorPalette::MutedText, x + 22.f, floor, std::min(x + 50.f, mRECT.R - 4.f), floor, nullptr, 2.f);

  g.FillRoundRect(CabinetOn() ? EditorPalette::Teal : EditorPalette::MutedText,
                  IRectF(x - 12.f, y - 6.f, x + 10.f, y + 7.f), 4.f);
  g.DrawLine(EditorPalette::Text, x - 9.f, y - 5.f, x - 9.f, y + 6.f);
  g.DrawCircle(EditorPalette::Teal, x, y, 18.f);

  char caption[80];
  std::snprintf(caption, sizeof(caption), "MIC  %.0f%% / %.0fcm / %.0fdeg", Physical(kParamMicPosition),
                Physical(kParamMicDistance), Physical(kParamMicAngle));
  Text(g, caption, IRectF(470.f, 353.f, 704.f, 376.f), 11.f, EditorPalette::Teal);
}

void RigArtwork::DrawSignalGlow(IGui& g)
{
  const DisplaySnapshot& snapshot = mMeasurements.Display();
  if (Physical(kParamPedalEnabled) < 0.5 || !snapshot.signalPresent)
    return;
  const float level = snapshot.Meter(kMeterPedalSag);
  const float l = std::isfinite(level) ? std::clamp(level, 0.f, 1.f) : 0.f;
  g.DrawCircle(IArgbColour(70, 240, 168, 93), 120.f, 283.f, 5.f + 7.f * l, nullptr, 2.f);
}

} // namespace editor
