#include "product/editor/Status.h"

#include "product/editor/EditorPalette.h"
#include "product/editor/EditorText.h"

#include "framework/core/IGuiEditorDelegate.h"
#include "framework/core/IParam.h"
#include "framework/graphics/IGui.h"
#include "product/core/AmpEngine.h"
#include "product/core/ParamSpecTable.h"

#include <cstdio>

using pfw::gui::IRectF;
using pfw::gui::ITextStyle;

namespace editor {

namespace {
constexpr int kExternalMonitor = 6;
} // namespace

Status::Note Status::RoutingNote(int monitorSource, bool externalGateDetector, bool auxConnected, bool auxInUse)
{
  if (monitorSource == kExternalMonitor)
    return auxConnected ? Note{"EXTERNAL MONITOR / REAL AUXILIARY", false}
                        : Note{"EXTERNAL MONITOR / MISSING INPUT IS SILENT", true};
  if (externalGateDetector && !auxConnected)
    return {"EXTERNAL GATE MISSING / INTERNAL FALLBACK", true};
  if (auxInUse)
    return {"REAL EXTERNAL GATE DETECTOR", false};
  return {"INTERNAL GATE / KEEP USEFUL OUTPUT HEADROOM", false};
}

Status::Status(const IRectF& bounds, std::shared_ptr<const MeasurementFeed> feed)
  : IControl(bounds)
  , mFeed(std::move(feed))
{
  SetIgnoreMouse(true);
}

bool Status::IsDirty()
{
  mDirty = true;
  return IControl::IsDirty();
}

double Status::Value(int paramIdx) const
{
  const pfw::IParam* param = mDelegate ? mDelegate->GetParam(paramIdx) : nullptr;
  return param ? param->Value() : 0.0;
}

void Status::Draw(pfw::gui::IGui& g)
{
  if (mFeed)
    mFeed->TryReadDisplay(mSnapshot);
  const int monitor = static_cast<int>(Value(kParamMonitor));

  char first[160];
  std::snprintf(first, sizeof(first), "%s / %s    /    4x NONLINEAR CHAIN    /    %d PDC SAMPLES",
                Value(kParamBypass) >= 0.5 ? "BYPASS" : "MONITOR", ParamValueName(kParamMonitor, monitor),
                AmpEngine::kLatency);
  g.DrawText(EditorTextStyle(10.f, EditorPalette::MutedText, ITextStyle::kAlignNear), first,
             IRectF(337.f, 757.f, 944.f, 777.f));

  const bool externalGate = Value(kParamGateEnabled) >= 0.5 && Value(kParamGateDetector) > 0.5;
  const Note note = RoutingNote(monitor, externalGate, mSnapshot.auxConnected, mSnapshot.auxInUse);
  g.DrawText(EditorTextStyle(10.f, note.warning ? EditorPalette::Amber : EditorPalette::Teal, ITextStyle::kAlignNear),
             note.text, IRectF(337.f, 777.f, 944.f, 795.f));
}

} // namespace editor
