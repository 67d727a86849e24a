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

// The largest scale at which the whole editor fits the window, limited to
// kMinEditorScale ... kMaxEditorScale. The scale makes one side a whole number of units,
// so the editor's own window size fits back to the same scale and size. Nothing for an
// empty window or an unusable platform scale (window pixels per drawn pixel).
std::optional<EditorFit> FitEditorToWindow(int width, int height, float platformScale);

// The editor's window size in pixels at a drawing scale.
struct EditorWindowSize
{
  int width, height;
};
EditorWindowSize EditorSizeAtScale(float scale, float platformScale);
