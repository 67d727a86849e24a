#pragma once

// The render tool runs the plug-in object on its offline host.
#include "tools/render/OfflineHost.h"

using TarnwickWrapper = OfflineHost;
using TarnwickInstanceInfo = OfflineHost::InstanceInfo;
