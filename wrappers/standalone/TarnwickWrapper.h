#pragma once

// The standalone program's plug-in class stands on the standalone wrapper.
#include "wrappers/standalone/IPluginAPP.h"

using TarnwickWrapper = pfw::IPluginAPP;
using TarnwickInstanceInfo = pfw::IPluginAPP::InstanceInfo;
