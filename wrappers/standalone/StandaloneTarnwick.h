#pragma once

#include <windows.h>

namespace pfw {
class IPluginAPP;
}
class StandaloneHost;

// The product's plug-in object for the standalone program; the factory the program
// gives StandaloneHost::Create. Null when it could not be made.
pfw::IPluginAPP* MakeStandaloneTarnwick(StandaloneHost& host);

// The colour at the foot of the product editor's backdrop, for the window around it.
COLORREF StandaloneTarnwickBackdrop();
