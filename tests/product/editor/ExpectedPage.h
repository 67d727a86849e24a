#pragma once

#include "framework/graphics/IRectF.h"

#include <ostream>

namespace pfw::gui {
// Failures name the rectangle's edges.
inline void PrintTo(const IRectF& r, std::ostream* os)
{
  *os << "(" << r.L << ", " << r.T << ", " << r.R << ", " << r.B << ")";
}
} // namespace pfw::gui

// The editor's page written out control by control, in drawing order, so that a slip in
// the layout's tables or arithmetic cannot hide behind the same data.
namespace expected_page {

enum class Kind
{
  kBackdrop,
  kBrand,
  kRecipeMenu,
  kBankSwitch,
  kCopyBank,
  kRig,
  kSignalDisplay,
  kMenu,   // a choice parameter
  kSwitch, // an on/off parameter
  kKnob,   // a continuous parameter
  kTab,
  kSubTab,
  kContextHelp,
  kStatus,
  kMailLink,
};

inline void PrintTo(Kind kind, std::ostream* os)
{
  *os << "kind " << static_cast<int>(kind);
}

struct Slot
{
  int view; // the one view that shows it, -1 for every view
  Kind kind;
  int param;         // -1: none
  const char* label; // nullptr: none
  pfw::gui::IRectF rect;
  int target = -1; // a tab's number, the view a sub-tab shows
};

inline const Slot kPage[] = {
  // The upper half, the same in every view.
  {-1, Kind::kBackdrop, -1, nullptr, {0.f, 0.f, 1180.f, 800.f}},
  {-1, Kind::kBrand, -1, nullptr, {28.f, 0.f, 238.f, 42.f}},
  {-1, Kind::kRecipeMenu, -1, nullptr, {746.f, 40.f, 1015.f, 82.f}},
  {-1, Kind::kBankSwitch, -1, "A", {1028.f, 40.f, 1084.f, 82.f}},
  {-1, Kind::kCopyBank, -1, "COPY", {1096.f, 40.f, 1144.f, 82.f}},
  {-1, Kind::kRig, -1, nullptr, {36.f, 150.f, 709.f, 389.f}},
  {-1, Kind::kSignalDisplay, -1, nullptr, {724.f, 110.f, 1144.f, 389.f}},
  {-1, Kind::kMenu, 14, nullptr, {36.f, 110.f, 250.f, 146.f}},
  {-1, Kind::kMenu, 23, nullptr, {264.f, 110.f, 477.f, 146.f}},
  {-1, Kind::kMenu, 38, nullptr, {491.f, 110.f, 709.f, 146.f}},
  {-1, Kind::kSwitch, 5, "GATE", {36.f, 401.f, 164.f, 442.f}},
  {-1, Kind::kSwitch, 13, "PEDAL", {176.f, 401.f, 304.f, 442.f}},
  {-1, Kind::kSwitch, 22, "AMP + POWER", {316.f, 401.f, 444.f, 442.f}},
  {-1, Kind::kSwitch, 37, "CABINET", {456.f, 401.f, 584.f, 442.f}},
  {-1, Kind::kSwitch, 50, "EQ", {596.f, 401.f, 724.f, 442.f}},
  {-1, Kind::kSwitch, 58, "CHORUS", {736.f, 401.f, 864.f, 442.f}},
  {-1, Kind::kSwitch, 62, "DELAY", {876.f, 401.f, 1004.f, 442.f}},
  {-1, Kind::kSwitch, 68, "REVERB", {1016.f, 401.f, 1144.f, 442.f}},
  {-1, Kind::kTab, -1, "PEDAL", {36.f, 454.f, 210.f, 493.f}, 0},
  {-1, Kind::kTab, -1, "AMP", {223.f, 454.f, 397.f, 493.f}, 1},
  {-1, Kind::kTab, -1, "CABINET", {410.f, 454.f, 584.f, 493.f}, 2},
  {-1, Kind::kTab, -1, "EQ", {597.f, 454.f, 771.f, 493.f}, 3},
  {-1, Kind::kTab, -1, "EFFECTS", {784.f, 454.f, 958.f, 493.f}, 4},
  {-1, Kind::kTab, -1, "UTILITY", {971.f, 454.f, 1145.f, 493.f}, 5},
  // The control row of each view, slot 0 first: the column's left edge is 45 + 137.5 per
  // slot; a knob or a menu fills (left, 576, left + 130, 708), a switch (left + 5, 617,
  // left + 125, 660).
  {0, Kind::kMenu, 14, "PEDAL FAMILY", {45.f, 576.f, 175.f, 708.f}},
  {0, Kind::kKnob, 15, "DRIVE", {182.5f, 576.f, 312.5f, 708.f}},
  {0, Kind::kKnob, 16, "TONE", {320.f, 576.f, 450.f, 708.f}},
  {0, Kind::kKnob, 17, "LEVEL", {457.5f, 576.f, 587.5f, 708.f}},
  {0, Kind::kKnob, 18, "LOW CUT", {595.f, 576.f, 725.f, 708.f}},
  {0, Kind::kKnob, 19, "BIAS", {732.5f, 576.f, 862.5f, 708.f}},
  {0, Kind::kKnob, 20, "SAG", {870.f, 576.f, 1000.f, 708.f}},
  {0, Kind::kKnob, 21, "BLEND", {1007.5f, 576.f, 1137.5f, 708.f}},
  {1, Kind::kKnob, 24, "GAIN", {45.f, 576.f, 175.f, 708.f}},
  {1, Kind::kKnob, 25, "MASTER", {182.5f, 576.f, 312.5f, 708.f}},
  {1, Kind::kKnob, 26, "BASS", {320.f, 576.f, 450.f, 708.f}},
  {1, Kind::kKnob, 27, "MID", {457.5f, 576.f, 587.5f, 708.f}},
  {1, Kind::kKnob, 28, "TREBLE", {595.f, 576.f, 725.f, 708.f}},
  {1, Kind::kKnob, 29, "PRESENCE", {732.5f, 576.f, 862.5f, 708.f}},
  {1, Kind::kKnob, 30, "DEPTH", {870.f, 576.f, 1000.f, 708.f}},
  {1, Kind::kKnob, 31, "BRIGHT", {1007.5f, 576.f, 1137.5f, 708.f}},
  {2, Kind::kMenu, 23, "AMP FAMILY", {45.f, 576.f, 175.f, 708.f}},
  {2, Kind::kKnob, 32, "SAG", {182.5f, 576.f, 312.5f, 708.f}},
  {2, Kind::kKnob, 33, "BIAS", {320.f, 576.f, 450.f, 708.f}},
  {2, Kind::kKnob, 34, "TIGHT", {457.5f, 576.f, 587.5f, 708.f}},
  {2, Kind::kKnob, 35, "POWER DRIVE", {595.f, 576.f, 725.f, 708.f}},
  {2, Kind::kMenu, 36, "POWER TYPE", {732.5f, 576.f, 862.5f, 708.f}},
  {3, Kind::kMenu, 38, "CAB FAMILY", {45.f, 576.f, 175.f, 708.f}},
  {3, Kind::kKnob, 39, "CAB BLEND", {182.5f, 576.f, 312.5f, 708.f}},
  {3, Kind::kKnob, 40, "RESONANCE", {320.f, 576.f, 450.f, 708.f}},
  {3, Kind::kMenu, 41, "MIC TYPE", {457.5f, 576.f, 587.5f, 708.f}},
  {3, Kind::kKnob, 42, "POSITION", {595.f, 576.f, 725.f, 708.f}},
  {3, Kind::kKnob, 43, "DISTANCE", {732.5f, 576.f, 862.5f, 708.f}},
  {3, Kind::kKnob, 44, "ANGLE", {870.f, 576.f, 1000.f, 708.f}},
  {3, Kind::kKnob, 49, "ROOM", {1007.5f, 576.f, 1137.5f, 708.f}},
  {4, Kind::kKnob, 45, "SECOND MIC", {45.f, 576.f, 175.f, 708.f}},
  {4, Kind::kMenu, 46, "MIC TYPE 2", {182.5f, 576.f, 312.5f, 708.f}},
  {4, Kind::kKnob, 47, "CAB LOW CUT", {320.f, 576.f, 450.f, 708.f}},
  {4, Kind::kKnob, 48, "CAB HIGH CUT", {457.5f, 576.f, 587.5f, 708.f}},
  {5, Kind::kKnob, 51, "LOW SHELF", {45.f, 576.f, 175.f, 708.f}},
  {5, Kind::kKnob, 52, "MID GAIN", {182.5f, 576.f, 312.5f, 708.f}},
  {5, Kind::kKnob, 53, "MID FREQ", {320.f, 576.f, 450.f, 708.f}},
  {5, Kind::kKnob, 54, "MID Q", {457.5f, 576.f, 587.5f, 708.f}},
  {5, Kind::kKnob, 55, "HIGH SHELF", {595.f, 576.f, 725.f, 708.f}},
  {5, Kind::kKnob, 56, "HIGH PASS", {732.5f, 576.f, 862.5f, 708.f}},
  {5, Kind::kKnob, 57, "LOW PASS", {870.f, 576.f, 1000.f, 708.f}},
  {6, Kind::kKnob, 59, "CHORUS RATE", {45.f, 576.f, 175.f, 708.f}},
  {6, Kind::kKnob, 60, "CHORUS DEPTH", {182.5f, 576.f, 312.5f, 708.f}},
  {6, Kind::kKnob, 61, "CHORUS MIX", {320.f, 576.f, 450.f, 708.f}},
  {6, Kind::kKnob, 63, "DELAY TIME", {457.5f, 576.f, 587.5f, 708.f}},
  {6, Kind::kKnob, 64, "FEEDBACK", {595.f, 576.f, 725.f, 708.f}},
  {6, Kind::kKnob, 65, "DELAY TONE", {732.5f, 576.f, 862.5f, 708.f}},
  {7, Kind::kKnob, 66, "DELAY MIX", {45.f, 576.f, 175.f, 708.f}},
  {7, Kind::kSwitch, 67, "PING PONG", {187.5f, 617.f, 307.5f, 660.f}},
  {7, Kind::kKnob, 69, "ROOM SIZE", {320.f, 576.f, 450.f, 708.f}},
  {7, Kind::kKnob, 70, "DECAY", {457.5f, 576.f, 587.5f, 708.f}},
  {7, Kind::kKnob, 71, "DAMPING", {595.f, 576.f, 725.f, 708.f}},
  {7, Kind::kKnob, 72, "REVERB MIX", {732.5f, 576.f, 862.5f, 708.f}},
  {8, Kind::kKnob, 0, "INPUT", {45.f, 576.f, 175.f, 708.f}},
  {8, Kind::kKnob, 1, "OUTPUT", {182.5f, 576.f, 312.5f, 708.f}},
  {8, Kind::kKnob, 2, "MIX", {320.f, 576.f, 450.f, 708.f}},
  {8, Kind::kMenu, 3, "INPUT ROUTE", {457.5f, 576.f, 587.5f, 708.f}},
  {8, Kind::kKnob, 73, "WIDTH", {595.f, 576.f, 725.f, 708.f}},
  {8, Kind::kMenu, 80, "OUTPUT MODE", {732.5f, 576.f, 862.5f, 708.f}},
  {8, Kind::kKnob, 83, "PAN", {870.f, 576.f, 1000.f, 708.f}},
  {8, Kind::kKnob, 82, "COMPRESSION", {1007.5f, 576.f, 1137.5f, 708.f}},
  {9, Kind::kKnob, 6, "THRESHOLD", {45.f, 576.f, 175.f, 708.f}},
  {9, Kind::kKnob, 7, "ATTACK", {182.5f, 576.f, 312.5f, 708.f}},
  {9, Kind::kKnob, 8, "HOLD", {320.f, 576.f, 450.f, 708.f}},
  {9, Kind::kKnob, 9, "RELEASE", {457.5f, 576.f, 587.5f, 708.f}},
  {9, Kind::kKnob, 10, "RANGE", {595.f, 576.f, 725.f, 708.f}},
  {9, Kind::kMenu, 11, "DETECTOR", {732.5f, 576.f, 862.5f, 708.f}},
  {9, Kind::kKnob, 12, "SC TRIM", {870.f, 576.f, 1000.f, 708.f}},
  {10, Kind::kMenu, 76, "MONITOR", {45.f, 576.f, 175.f, 708.f}},
  {10, Kind::kSwitch, 77, "ANALYZER", {187.5f, 617.f, 307.5f, 660.f}},
  {10, Kind::kMenu, 78, "FFT SPEED", {320.f, 576.f, 450.f, 708.f}},
  {10, Kind::kSwitch, 79, "DC FILTER", {462.5f, 617.f, 582.5f, 660.f}},
  {10, Kind::kSwitch, 81, "POLARITY", {600.f, 617.f, 720.f, 660.f}},
  {10, Kind::kSwitch, 74, "SAFETY CLIP", {737.5f, 617.f, 857.5f, 660.f}},
  {10, Kind::kKnob, 75, "CEILING", {870.f, 576.f, 1000.f, 708.f}},
  // Each group's sub-tabs, one copy per view of the group.
  {1, Kind::kSubTab, -1, "TONE", {49.f, 505.f, 204.f, 534.f}, 1},
  {1, Kind::kSubTab, -1, "PREAMP / POWER", {216.f, 505.f, 371.f, 534.f}, 2},
  {2, Kind::kSubTab, -1, "TONE", {49.f, 505.f, 204.f, 534.f}, 1},
  {2, Kind::kSubTab, -1, "PREAMP / POWER", {216.f, 505.f, 371.f, 534.f}, 2},
  {3, Kind::kSubTab, -1, "FIRST MIC / CAB", {49.f, 505.f, 204.f, 534.f}, 3},
  {3, Kind::kSubTab, -1, "SECOND MIC / CUTS", {216.f, 505.f, 371.f, 534.f}, 4},
  {4, Kind::kSubTab, -1, "FIRST MIC / CAB", {49.f, 505.f, 204.f, 534.f}, 3},
  {4, Kind::kSubTab, -1, "SECOND MIC / CUTS", {216.f, 505.f, 371.f, 534.f}, 4},
  {6, Kind::kSubTab, -1, "TIME / COLOUR", {49.f, 505.f, 204.f, 534.f}, 6},
  {6, Kind::kSubTab, -1, "BLEND / ROOM", {216.f, 505.f, 371.f, 534.f}, 7},
  {7, Kind::kSubTab, -1, "TIME / COLOUR", {49.f, 505.f, 204.f, 534.f}, 6},
  {7, Kind::kSubTab, -1, "BLEND / ROOM", {216.f, 505.f, 371.f, 534.f}, 7},
  {8, Kind::kSubTab, -1, "LEVEL / ROUTING", {49.f, 505.f, 204.f, 534.f}, 8},
  {8, Kind::kSubTab, -1, "INPUT GATE", {216.f, 505.f, 371.f, 534.f}, 9},
  {8, Kind::kSubTab, -1, "MONITOR / SAFETY", {383.f, 505.f, 538.f, 534.f}, 10},
  {9, Kind::kSubTab, -1, "LEVEL / ROUTING", {49.f, 505.f, 204.f, 534.f}, 8},
  {9, Kind::kSubTab, -1, "INPUT GATE", {216.f, 505.f, 371.f, 534.f}, 9},
  {9, Kind::kSubTab, -1, "MONITOR / SAFETY", {383.f, 505.f, 538.f, 534.f}, 10},
  {10, Kind::kSubTab, -1, "LEVEL / ROUTING", {49.f, 505.f, 204.f, 534.f}, 8},
  {10, Kind::kSubTab, -1, "INPUT GATE", {216.f, 505.f, 371.f, 534.f}, 9},
  {10, Kind::kSubTab, -1, "MONITOR / SAFETY", {383.f, 505.f, 538.f, 534.f}, 10},
  // The bottom band, the same in every view.
  {-1, Kind::kContextHelp, -1, nullptr, {36.f, 720.f, 1144.f, 750.f}},
  {-1, Kind::kSwitch, 4, "BYPASS", {36.f, 762.f, 167.f, 794.f}},
  {-1, Kind::kMenu, 76, nullptr, {179.f, 762.f, 323.f, 794.f}},
  {-1, Kind::kStatus, -1, nullptr, {337.f, 758.f, 942.f, 795.f}},
  {-1, Kind::kMailLink, -1, "support@quilltone.com", {958.f, 762.f, 1144.f, 794.f}},
};

} // namespace expected_page
