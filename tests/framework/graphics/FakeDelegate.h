#pragma once

#include "framework/core/IGuiEditorDelegate.h"
#include "framework/core/IParam.h"

#include <cstdio>
#include <string>
#include <vector>

// An editor delegate with real parameters that logs every edit bracket and value.
class FakeDelegate : public pfw::IGuiEditorDelegate
{
public:
  explicit FakeDelegate(int nParams = 8)
    : pfw::IGuiEditorDelegate(nParams)
  {
    for (int i = 0; i < nParams; ++i)
      GetParam(i)->InitDouble("Param", 0.0, 0.0, 1.0, 0.01);
  }

  void BeginParamEditFromUI(int paramIdx) override { log.push_back("begin " + std::to_string(paramIdx)); }
  void EndParamEditFromUI(int paramIdx) override { log.push_back("end " + std::to_string(paramIdx)); }
  void SendParameterValueFromUI(int paramIdx, double value) override
  {
    char text[64];
    std::snprintf(text, sizeof(text), "value %d %g", paramIdx, value);
    log.push_back(text);
    pfw::IGuiEditorDelegate::SendParameterValueFromUI(paramIdx, value);
  }
  bool EditorResizeFromUI(int width, int height, bool needsPlatformResize) override
  {
    resizes.push_back({width, height});
    return needsPlatformResize;
  }
  void LayoutUI(pfw::IEditorGraphics*) override { ++layouts; }

  // True when every begin has its end, for every parameter, never nesting and never
  // ending what was not begun, and every value lies inside a bracket.
  bool Balanced(std::string* why = nullptr) const
  {
    std::vector<int> open(static_cast<size_t>(NParams()), 0);
    for (const std::string& entry : log)
    {
      int index = -1;
      if (std::sscanf(entry.c_str(), "begin %d", &index) == 1)
      {
        if (++open[static_cast<size_t>(index)] != 1)
          return Fail(why, "nested begin: " + entry);
      }
      else if (std::sscanf(entry.c_str(), "end %d", &index) == 1)
      {
        if (--open[static_cast<size_t>(index)] != 0)
          return Fail(why, "end without begin: " + entry);
      }
      else if (std::sscanf(entry.c_str(), "value %d", &index) == 1)
      {
        if (open[static_cast<size_t>(index)] != 1)
          return Fail(why, "value outside a bracket: " + entry);
      }
    }
    for (size_t i = 0; i < open.size(); ++i)
      if (open[i] != 0)
        return Fail(why, "left open: " + std::to_string(i));
    return true;
  }

  std::vector<std::string> log;
  std::vector<std::pair<int, int>> resizes;
  int layouts = 0;

private:
  static bool Fail(std::string* why, const std::string& text)
  {
    if (why)
      *why = text;
    return false;
  }
};
