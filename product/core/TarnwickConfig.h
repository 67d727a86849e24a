#pragma once

#include "framework/core/IPluginConfig.h"

constexpr int kEditorWidth = 1180;
constexpr int kEditorHeight = 800;
constexpr int kPluginLatency = 48;

// The compiled-in construction record of the plug-in, the same in every deliverable.
pfw::IPluginConfig MakeTarnwickConfig();
