#pragma once

#include "product/editor/MeasurementFeed.h"
#include "product/editor/MicrophoneDrag.h"

#include "framework/graphics/IControl.h"

#include <memory>

class TarnwickProduct;

namespace editor {

class ViewState;

// The signal chain as a picture drawn in code: a pedal coloured by its family, an
// amplifier head, a speaker cabinet laid out by its family and the microphone in front of
// it. The picture follows the parameters every frame; dragging the microphone sets its
// position (sideways) and distance (up is farther), inside one host edit of both.
class RigArtwork : public pfw::gui::IControl
{
public:
  static constexpr const char* kTooltip =
    "Original code-drawn pedal, amp and cabinet. Drag the microphone horizontally for Position and vertically for "
    "Distance; Shift is finer. Artwork is a control guide, not a measured hardware photograph.";

  RigArtwork(const pfw::gui::IRectF& bounds, TarnwickProduct& product, std::shared_ptr<ViewState> viewState,
             std::shared_ptr<const MeasurementFeed> feed);
  ~RigArtwork() override;

  void OnMouseDown(float x, float y, const pfw::gui::IPointerMods& mods) override;
  void OnMouseUp(float x, float y, const pfw::gui::IPointerMods& mods) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const pfw::gui::IPointerMods& mods) override;
  void OnMouseDblClick(float x, float y, const pfw::gui::IPointerMods& mods) override;
  void OnMouseOver(float x, float y, const pfw::gui::IPointerMods& mods) override;
  void OnMouseCancelled(float x, float y, const pfw::gui::IPointerMods& mods) override;
  void Draw(pfw::gui::IGui& g) override;
  pfw::gui::IRectF OpaqueArea() const override;
  bool IsDirty() override;

private:
  bool CabinetOn() const;
  double Physical(int paramIdx) const;
  double Normalized(int paramIdx) const;
  void EndDrag();
  void DrawPedal(pfw::gui::IGui& g);
  void DrawAmplifier(pfw::gui::IGui& g);
  void DrawCabinet(pfw::gui::IGui& g);
  void DrawMicrophone(pfw::gui::IGui& g);
  void DrawSignalGlow(pfw::gui::IGui& g);

  TarnwickProduct& mProduct;
  std::shared_ptr<ViewState> mViewState;
  LatestMeasurements mMeasurements;
  MicrophoneDrag mDrag;
};

} // namespace editor
