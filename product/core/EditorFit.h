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
// kMinEditorScale ... kMaxEditorScale. Nothing for an empty window or an unusable
// platform scale (window pixels per drawn pixel).
std::optional<EditorFit> FitEditorToWindow(int width, int height, float platformScale);
