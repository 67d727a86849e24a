#pragma once

namespace pfw::gui {

// Blend factors of a composite operation; the back end maps each to its own.
enum VectorBlendFactor
{
  kBlendZero = 1,
  kBlendOne = 2,
  kBlendSrcColor = 4,
  kBlendOneMinusSrcColor = 8,
  kBlendDstColor = 16,
  kBlendOneMinusDstColor = 32,
  kBlendSrcAlpha = 64,
  kBlendOneMinusSrcAlpha = 128,
  kBlendDstAlpha = 256,
  kBlendOneMinusDstAlpha = 512,
  kBlendSrcAlphaSaturate = 1024,
};

// How a drawing is combined with what is already there: one pair of factors for colour,
// one for alpha. The default is source-over on premultiplied colour.
struct VectorCompositeOperation
{
  int srcRGB = kBlendOne;
  int dstRGB = kBlendOneMinusSrcAlpha;
  int srcAlpha = kBlendOne;
  int dstAlpha = kBlendOneMinusSrcAlpha;
};

} // namespace pfw::gui
