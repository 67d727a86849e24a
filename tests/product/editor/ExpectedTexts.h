#pragma once

// The editor's own wording, written out here once so that a slip in a product text cannot
// hide behind the constant it came from.
namespace expected_texts {

struct Help
{
  const char* title;
  const char* body;
};

inline constexpr Help kInitialHelp = {
  "YOUR GUITAR / YOUR CHAIN",
  "Enable a stage in the signal chain, choose its family, then shape the sound. Cabinet microphone drag edits "
  "Position and Distance. Shift is finer; numeric knobs double-click to reset."};

inline constexpr Help kViewsHelp = {
  "84 STABLE CONTROLS / DISCOVERABLE VIEWS",
  "Pedal; Amp Tone/Power; Cabinet First/Second Mic; EQ; Effects Time/Blend; Utility Levels/Gate/Monitor. Every "
  "parameter keeps its host automation ID. Dimmed controls are unused when a stage is off."};

inline constexpr Help kRefusedValueHelp = {
  "VALID PHYSICAL VALUES",
  "Enter a finite number with its displayed unit. Frequency accepts Hz/kHz; timing accepts ms/s. Invalid input "
  "leaves the value unchanged."};

inline constexpr Help kRecipesHelp = {
  "40 FACTORY RECIPES",
  "Choose complete guitar, bass, pedal, amp and creative starting points. Custom means the current84 controls "
  "differ from a factory recipe."};
inline constexpr const char* kRecipesTooltip =
  "40 complete pedal, amp, cabinet and ambience recipes. Edits display Custom; both A/B banks save all84 controls.";

inline constexpr Help kBanksHelp = {
  "TWO COMPLETE SETTINGS BANKS",
  "A/B switches all84settings; COPY stores the current complete chain in the other bank. Gain changes are real: "
  "compare useful output levels."};

// The first sentence is fixed; the invitation to the maker's site is ours.
inline constexpr Help kBrandHelp = {
  "QUILLTONE",
  "Independent original audio tools. Open the QUILLTONE web site for downloads, sound examples and help."};
inline constexpr const char* kBrandTooltip = "Open QUILLTONE plugins and support.";

inline constexpr Help kRigHelp = {
  "YOUR ORIGINAL RIG / CAB MIC DRAG",
  "Pedal, amp and cabinet guides reflect physical settings. Drag the cabinet mic for Position and Distance; "
  "artwork does not imply captured commercial hardware or IRs."};
inline constexpr const char* kRigTooltip =
  "Original code-drawn pedal, amp and cabinet. Drag the microphone horizontally for Position and vertically for "
  "Distance; Shift is finer. Artwork is a control guide, not a measured hardware photograph.";

inline constexpr Help kMicrophoneDragHelp = {
  "CABINET MICROPHONE / PHYSICAL POSITION",
  "Horizontal drag moves centre to edge; vertical drag changes centimetres of distance. Shift is finer. The "
  "matching numeric controls and host values update together."};

} // namespace expected_texts
