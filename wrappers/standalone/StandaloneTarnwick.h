#pragma once

namespace pfw {
class IPluginAPP;
}
class StandaloneHost;

// The product's plug-in object for the standalone program; the factory the program
// gives StandaloneHost::Create. Null when it could not be made.
pfw::IPluginAPP* MakeStandaloneTarnwick(StandaloneHost& host);
