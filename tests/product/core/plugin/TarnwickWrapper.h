#pragma once

// The plug-in class of the tests stands on the test wrapper.
#include "IPluginTestWrapper.h"

using TarnwickWrapper = IPluginTestWrapper;
using TarnwickInstanceInfo = IPluginTestWrapper::InstanceInfo;
