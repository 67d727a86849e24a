#pragma once

// The plug-in class of the VST3 deliverable stands on the VST3 wrapper.
#include "wrappers/vst3/TarnwickVST3.h"

using TarnwickWrapper = TarnwickVST3;
using TarnwickInstanceInfo = pfw::IPluginVST3::InstanceInfo;
