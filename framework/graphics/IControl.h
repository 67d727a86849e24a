#pragma once

#include "IBlendMode.h"
#include "IInputEvents.h"
#include "IRectF.h"
#include "ITextStyle.h"

#include "framework/core/GrowString.h"

#include <functional>
#include <unordered_map>
#include <vector>

namespace pfw {
class IParam;
class IGuiEditorDelegate;
struct IMidiEvent;
} // namespace pfw

namespace pfw::gui {

class IGui;
class IPopupMenu;
class PopupMenuItem;

// One value slot of a control: a linked parameter index (-1 none) and a value 0..1.
struct IControlValue
{
  int paramIdx = -1;
  double value = 0.0;
};

// What a gesture handler is told.
struct IGestureInfo
{
  int type = 0;
  int state = 0;
  float x = 0.f;
  float y = 0.f;
  float scale = 1.f;
  float velocity = 0.f;
  float angle = 0.f;
};

// The base of every on-screen control: its area, value slots linked to parameters, look,
// state flags, action function and animation. IGui owns attached controls.
class IControl
{
public:
  using ActionFunc = std::function<void(IControl*)>;
  using AnimationFunc = std::function<void(IControl*)>;
  using GestureFunc = std::function<void(IControl*, const IGestureInfo&)>;

  IControl(const IRectF& bounds, int paramIdx = -1, ActionFunc action = nullptr);
  virtual ~IControl();
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // Input and life-cycle hooks.
  virtual void OnMouseDown(float x, float y, const IPointerMods& mods);
  virtual void OnMouseUp(float /*x*/, float /*y*/, const IPointerMods& /*mods*/) {}
  virtual void OnMouseDrag(float /*x*/, float /*y*/, float /*dX*/, float /*dY*/, const IPointerMods& /*mods*/) {}
  virtual void OnMouseDblClick(float x, float y, const IPointerMods& mods);
  virtual void OnMouseWheel(float /*x*/, float /*y*/, const IPointerMods& /*mods*/, float /*delta*/) {}
  virtual bool OnKeyDown(float /*x*/, float /*y*/, const IKeyEvent& /*key*/) { return false; }
  virtual bool OnKeyUp(float /*x*/, float /*y*/, const IKeyEvent& /*key*/) { return false; }
  virtual void OnMouseOver(float x, float y, const IPointerMods& mods);
  virtual void OnMouseOut();
  // A press that began on this control ended without its mouse-up (capture taken away).
  virtual void OnMouseCancelled(float /*x*/, float /*y*/, const IPointerMods& /*mods*/) {}
  virtual void OnDrop(const char* /*path*/) {}
  virtual void OnDropMultiple(const std::vector<const char*>& paths);
  virtual void OnRescale() {}
  virtual void OnResize() {}
  virtual void OnInit() {}
  virtual void OnAttached() {}
  virtual void OnMsgFromDelegate(int /*tag*/, int /*size*/, const void* /*data*/) {}
  virtual void OnMidi(const IMidiEvent& /*event*/) {}
  virtual bool OnGesture(const IGestureInfo& info);
  virtual void CreateContextMenu(IPopupMenu& /*menu*/) {}
  virtual void OnPopupMenuSelection(IPopupMenu* menu, int valIdx);
  virtual void OnTextEntryCompletion(const char* /*text*/, int /*valIdx*/) {}
  virtual void OnContextSelection(int /*itemIdx*/) {}
  virtual void Draw(IGui& g) = 0;
  // A rectangle Draw covers wholly with opaque paint, whatever lies below (empty: none);
  // controls under it need not draw there.
  virtual IRectF OpaqueArea() const { return IRectF(); }
  virtual void DrawHighlightMarker(IGui& g);
  virtual void SetParamIdx(int paramIdx, int valIdx = 0);
  virtual int GetValIdxForPos(float x, float y) const;
  virtual void SetValueFromDelegate(double value, int valIdx = 0);
  virtual void SetValueFromUserInput(double value, int valIdx = 0);
  virtual void SetValueToDefault(int valIdx = -1);
  // Stores the value as given; a non-finite value is refused and the old one kept.
  virtual void SetValue(double value, int valIdx = 0);
  virtual void SetTextStyle(const ITextStyle& style) { mTextStyle = style; }
  virtual void SetPosition(float x, float y);
  virtual void SetSize(float w, float h);
  virtual void Hide(bool hide);
  virtual void SetDisabled(bool disabled);
  virtual void SetIgnoreMouse(bool ignore) { mIgnoreMouse = ignore; }
  virtual bool IsHit(float x, float y) const;
  // Clamps the slot (all slots with -1) to 0..1 and marks the control dirty; with push
  // the value goes to the delegate, the peers follow and the action function runs.
  virtual void SetDirty(bool push = false, int valIdx = -1);
  virtual void SetClean() { mDirty = false; }
  virtual bool IsDirty();
  virtual bool WantsGestures() const;
  virtual void SnapToMouse(float x, float y, int direction, const IRectF& bounds, int valIdx = -1,
                           double minClip = 0.0, double maxClip = 1.0);
  virtual void OnEndAnimation();

  // Values and parameters.
  int NVals() const { return static_cast<int>(mVals.size()); }
  int GetParamIdx(int valIdx = 0) const;
  double GetValue(int valIdx = 0) const;
  const IParam* GetParam(int valIdx = 0) const;
  // Adds a value slot (the constructor makes one).
  void AddValueSlot(int paramIdx, double value = 0.0) { mVals.push_back({paramIdx, value}); }
  bool LinkedToParam(int paramIdx) const;

  // Area.
  const IRectF& GetRECT() const { return mRECT; }
  const IRectF& GetTargetRECT() const { return mTargetRECT; }
  void SetRECT(const IRectF& r) { mRECT = r; }
  void SetTargetRECT(const IRectF& r) { mTargetRECT = r; }
  void SetTargetAndDrawRECTs(const IRectF& r) { mRECT = mTargetRECT = r; }
  // The control whose area encloses this one's when drawn (none by default).
  IControl* GetParent() const { return mParent; }
  void SetParent(IControl* parent) { mParent = parent; }

  // Look and state.
  const ITextStyle& GetTextStyle() const { return mTextStyle; }
  const IBlendMode& GetBlend() const { return mBlend; }
  const IBlendMode* GetBlendPtr() const { return &mBlend; }
  int GetTextEntryLength() const { return mTextEntryLength; }
  void SetTextEntryLength(int length) { mTextEntryLength = length; }
  bool IsHidden() const { return mHide; }
  bool IsDisabled() const { return mDisabled; }
  bool GetIgnoreMouse() const { return mIgnoreMouse; }
  bool GetMouseIsOver() const { return mMouseIsOver; }
  void SetMouseIsOver(bool over) { mMouseIsOver = over; }
  bool GetPromptDisabled() const { return mValuePromptDisabled; }
  void DisablePrompt(bool disable) { mValuePromptDisabled = disable; }
  bool GetWantsMidi() const { return mWantsMidi; }
  void SetWantsMidi(bool wants) { mWantsMidi = wants; }
  const char* GetTooltip() const { return mTooltip.Get(); }
  void SetTooltip(const char* text) { mTooltip.Set(text ? text : ""); }
  const char* GetGroup() const { return mGroup.Get(); }
  void SetGroup(const char* group) { mGroup.Set(group ? group : ""); }
  void SetHighlightMarker(bool show, const IArgbColour& colour)
  {
    mShowHighlight = show;
    mHighlightColour = colour;
  }

  // Wiring made by IGui::AttachControl.
  void SetDelegate(IGuiEditorDelegate* delegate) { mDelegate = delegate; }
  IGuiEditorDelegate* GetDelegate() const { return mDelegate; }
  void SetGraphics(IGui* graphics) { mGraphics = graphics; }
  IGui* GetUI() const { return mGraphics; }

  // Action and animation.
  void SetActionFunction(ActionFunc action) { mActionFunc = std::move(action); }
  bool HasActionFunction() const { return static_cast<bool>(mActionFunc); }
  void SetAnimation(AnimationFunc func) { mAnimationFunc = std::move(func); }
  void SetAnimation(AnimationFunc func, double durationMs)
  {
    mAnimationFunc = std::move(func);
    StartAnimation(durationMs);
  }
  void SetAnimationEndActionFunction(ActionFunc func) { mAnimationEndFunc = std::move(func); }
  bool HasAnimation() const { return static_cast<bool>(mAnimationFunc); }
  void StartAnimation(double durationMs);
  double GetAnimationProgress() const;
  // Runs the animation function once (a copy, since it may replace itself).
  void Animate();

  // Gestures.
  void AttachGestureRecognizer(int type, GestureFunc func) { mGestureFuncs[type] = std::move(func); }
  int GetLastGesture() const { return mLastGesture; }

  // The clock animations read, in milliseconds: the graphics' clock once attached.
  double NowMs() const;

protected:
  IControlValue& Slot(int valIdx) { return mVals[static_cast<size_t>(valIdx)]; }
  // A one-slot control treats any index as 0.
  int SlotIndex(int valIdx) const { return NVals() == 1 ? 0 : valIdx; }

  IRectF mRECT;
  IRectF mTargetRECT;
  GrowString mGroup;
  ITextStyle mTextStyle;
  IBlendMode mBlend;
  int mTextEntryLength = 7;
  bool mDirty = true;
  bool mHide = false;
  bool mDisabled = false;
  bool mValuePromptDisabled = true;
  bool mIgnoreMouse = false;
  bool mWantsMidi = false;
  bool mMouseIsOver = false;
  GrowString mTooltip;
  IArgbColour mHighlightColour;
  bool mShowHighlight = false;
  IGuiEditorDelegate* mDelegate = nullptr;
  IGui* mGraphics = nullptr;
  IControl* mParent = nullptr;
  ActionFunc mActionFunc;
  ActionFunc mAnimationEndFunc;
  AnimationFunc mAnimationFunc;
  double mAnimationStartMs = 0.0;
  double mAnimationDurationMs = 0.0;
  std::vector<IControlValue> mVals;
  std::unordered_map<int, GestureFunc> mGestureFuncs;
  int mLastGesture = 0;
};

} // namespace pfw::gui
