#include "wrappers/standalone/StandaloneTarnwick.h"

#include "product/core/Tarnwick.h"
#include "product/editor/Backdrop.h"

pfw::IPluginAPP* MakeStandaloneTarnwick(StandaloneHost& host)
{
  TarnwickInstanceInfo info;
  info.host = &host;
  return MakeTarnwick(info);
}

COLORREF StandaloneTarnwickBackdrop()
{
  const pfw::gui::IArgbColour& foot = editor::Backdrop::kFootColour;
  return RGB(foot.R, foot.G, foot.B);
}
