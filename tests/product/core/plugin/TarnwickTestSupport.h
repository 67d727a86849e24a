#pragma once

#include "FakeEditorGraphics.h"
#include "product/core/Tarnwick.h"

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

inline float FloatAt(const uint8_t* bytes, int offset)
{
  uint32_t bits = 0;
  for (int b = 0; b < 4; ++b)
    bits |= static_cast<uint32_t>(bytes[offset + b]) << (8 * b);
  float value;
  std::memcpy(&value, &bits, 4);
  return value;
}

inline int32_t Int32At(const uint8_t* bytes, int offset)
{
  uint32_t bits = 0;
  for (int b = 0; b < 4; ++b)
    bits |= static_cast<uint32_t>(bytes[offset + b]) << (8 * b);
  return static_cast<int32_t>(bits);
}

} // namespace tarnwick_test
