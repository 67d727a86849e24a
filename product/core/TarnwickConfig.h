#pragma once

#include "framework/core/IPluginConfig.h"
#include "product/core/AmpEngine.h"

constexpr int kEditorWidth = 1180;
constexpr int kEditorHeight = 800;
// The plug-in reports the engine's own delay.
constexpr int kPluginLatency = AmpEngine::kLatency;

// The compiled-in construction record of the plug-in, the same in every deliverable.
pfw::IPluginConfig MakeTarnwickConfig();
