#pragma once

// Each deliverable compiles the plug-in class against its own wrapper: the
// "TarnwickWrapper.h" on the deliverable's include path names the wrapper class
// (TarnwickWrapper, deriving from pfw::IPluginAPIBase and pfw::IPluginProcessor and
// constructed from (const TarnwickInstanceInfo&, const pfw::IPluginConfig&)) and what the
// deliverable knows about the instance it creates (TarnwickInstanceInfo).
// See tarnwick_add_plugin_class in product/core/CMakeLists.txt.
#include "TarnwickWrapper.h"

#include "product/core/TarnwickProduct.h"

// The plug-in object: the deliverable's wrapper with the product inside it. Everything the
// product does lives in TarnwickProduct; this class hands it the framework's hooks.
class Tarnwick : public TarnwickWrapper
{
public:
  explicit Tarnwick(const TarnwickInstanceInfo& info);
  ~Tarnwick() override;

  TarnwickProduct& Product() { return mProduct; }
  const TarnwickProduct& Product() const { return mProduct; }

  void OnActivate(bool active) override;
  void OnReset() override;
  void ProcessBlock(float** inputs, float** outputs, int nFrames) override;

  void OnParamChangeHook(int paramIdx) override;
  // A reset of all parameters only brings the tail length up to date; no per-parameter
  // notifications.
  void OnParamReset(int source) override;
  void OnParentWindowResize(int width, int height) override;
  void EditorSizeForWindow(int& width, int& height, DrivingSides driving) const override;

  // The product's state record replaces the framework's parameter list.
  bool SerializeState(pfw::IDataChunk& chunk) const override;
  int UnserializeState(const pfw::IDataChunk& chunk, int startPos) override;

private:
  TarnwickProduct mProduct;
};

// The factory that every wrapper calls: builds the plug-in object under a process-wide
// lock. Null when it could not be built.
Tarnwick* MakeTarnwick(const TarnwickInstanceInfo& info);
