#pragma once

#include "framework/graphics/IArgbColour.h"

namespace editor {

// The editor's fixed colours, all opaque; every product control draws with these.
struct EditorPalette
{
  static inline const pfw::gui::IArgbColour Green{255, 36, 157, 16};
  static inline const pfw::gui::IArgbColour Lime{255, 153, 191, 28};
  static inline const pfw::gui::IArgbColour Yellow{255, 215, 222, 37};
  static inline const pfw::gui::IArgbColour Orange{255, 247, 153, 33};
  static inline const pfw::gui::IArgbColour Text{255, 240, 236, 226};
  static inline const pfw::gui::IArgbColour MutedText{255, 151, 163, 169};
  static inline const pfw::gui::IArgbColour Amber{255, 215, 165, 109};
  static inline const pfw::gui::IArgbColour Teal{255, 105, 204, 194};
  static inline const pfw::gui::IArgbColour Blue{255, 126, 162, 210};
  static inline const pfw::gui::IArgbColour Slate{255, 54, 67, 73};
  static inline const pfw::gui::IArgbColour Ink{255, 27, 35, 40};
  static inline const pfw::gui::IArgbColour Violet{255, 158, 144, 223};
};

} // namespace editor
