#pragma once

#include <optional>

// The editor's drawing scale for a parent window of width x height pixels.
struct EditorFit
{
  float scale;
  // The scale had to be limited, so the window must be brought back to the editor's size.
  bool needsPlatformResize;
};

constexpr float kMinEditorScale = 0.85f;
constexpr float kMaxEditorScale = 1.5f;

// The scale at which the editor fits the window, limited to kMinEditorScale ...
// kMaxEditorScale: the scale of the window's proportions (the smaller of height / 800 and
// width / 1180 units at the platform scale) wherever the size it gives fits back to that
// size; elsewhere a size at least as large that does. So the editor is never smaller than
// the proportions allow, and its own window size always fits back to itself. Nothing for
// an empty window or an unusable platform scale (window pixels per drawn pixel).
std::optional<EditorFit> FitEditorToWindow(int width, int height, float platformScale);

// The editor's window size in pixels at a drawing scale.
struct EditorWindowSize
{
  int width, height;
};
EditorWindowSize EditorSizeAtScale(float scale, float platformScale);
