#pragma once

namespace pfw::gui {

// Compositing of a drawing operation; the weight multiplies alpha.
struct IBlendMode
{
  enum Mode
  {
    kSourceOver = 0,
    kSourceIn,
    kSourceOut,
    kSourceAtop,
    kDestinationOver,
    kDestinationIn,
    kDestinationOut,
    kDestinationAtop,
    kAdditive,
    kXor,
  };

  int mode = kSourceOver;
  float weight = 1.f;

  IBlendMode() = default;
  IBlendMode(int mode_, float weight_)
    : mode(mode_), weight(weight_)
  {
  }
};

// The blend of an optional argument: none means source-over at full weight.
inline IBlendMode BlendOrDefault(const IBlendMode* blend) { return blend ? *blend : IBlendMode(); }

} // namespace pfw::gui
