#pragma once

#include "FakeEditorGraphics.h"
#include "product/core/Tarnwick.h"
#include "tests/support/LittleEndianBytes.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace tarnwick_test {

inline std::unique_ptr<Tarnwick> MakePlugin(int blockSize = 512)
{
  TarnwickInstanceInfo info;
  info.blockSize = blockSize;
  return std::unique_ptr<Tarnwick>(MakeTarnwick(info));
}

// Opens the editor on a fake graphics object owned by the plug-in; returns it.
inline FakeEditorGraphics* OpenFakeEditor(Tarnwick& plugin)
{
  FakeEditorGraphics* graphics = nullptr;
  plugin.SetMakeGraphicsFunc([&graphics] {
    graphics = new FakeEditorGraphics;
    return graphics;
  });
  plugin.OpenWindow(nullptr);
  return graphics;
}

inline void SetParam(Tarnwick& plugin, int index, double value)
{
  plugin.SetParameterValue(index, plugin.GetParam(index)->ToNormalized(value));
}

} // namespace tarnwick_test
