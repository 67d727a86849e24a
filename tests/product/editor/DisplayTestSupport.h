#pragma once

#include "RecordingGui.h"

#include "product/editor/MeasurementFeed.h"

#include <cstdio>
#include <string>
#include <vector>

// An IGui that also records each text with its size and colour, and the URLs it opens.
class StyledRecordingGui : public RecordingGui
{
public:
  using RecordingGui::RecordingGui;

  struct DrawnText
  {
    std::string text;
    float size;
    pfw::gui::IArgbColour colour;
    pfw::gui::IRectF bounds;
  };
  std::vector<DrawnText> texts;
  std::vector<std::string> urls;

  void DoDrawText(const pfw::gui::ITextStyle& style, const char* text, const pfw::gui::IRectF& bounds,
                  const pfw::gui::IBlendMode* blend) override
  {
    texts.push_back({text, style.size, style.colour, bounds});
    RecordingGui::DoDrawText(style, text, bounds, blend);
  }
  void DrawMultiLineText(const pfw::gui::ITextStyle& style, const char* text, const pfw::gui::IRectF& bounds,
                         const pfw::gui::IBlendMode* blend) override
  {
    DoDrawText(style, text, bounds, blend);
  }
  bool OpenURL(const char* url) override
  {
    urls.push_back(url);
    return true;
  }

  // Draws one frame of everything that is dirty; the recorded drawing starts afresh.
  void Frame()
  {
    texts.clear();
    paints.clear();
    log.clear();
    pfw::gui::IRectFList rects;
    if (IsDirty(rects))
    {
      SetAllControlsClean();
      Draw(rects);
    }
  }
  const DrawnText* FindText(const std::string& prefix) const
  {
    for (const DrawnText& t : texts)
      if (t.text.compare(0, prefix.size(), prefix) == 0)
        return &t;
    return nullptr;
  }
};

// A feed of records the test writes, which can refuse reads as a busy writer would.
class ScriptedFeed : public editor::MeasurementFeed
{
public:
  DisplaySnapshot display;
  LevelSnapshot levels;
  bool readable = true;
  uint64_t publications = 0;

  bool TryReadDisplay(DisplaySnapshot& out) const override
  {
    if (readable)
      out = display;
    return readable;
  }
  bool TryReadLevels(LevelSnapshot& out) const override
  {
    if (readable)
      out = levels;
    return readable;
  }
  uint64_t PublicationCount() const override { return publications; }
};
