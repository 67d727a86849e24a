#pragma once

#include "GrowArray.h"
#include "GrowString.h"

#include <atomic>
#include <functional>

namespace pfw {

// One display text of a parameter value.
struct IParamDisplayText
{
  double value;
  char text[32];
};

// One parameter of the plug-in: its atomic value, range, step, value shape and the way it
// is shown as text and read back from text. Everything but the value is written only while
// the plug-in object is constructed; the value is read and written from any thread.
class IParam
{
public:
  enum Type : int
  {
    kTypeNone = 0,
    kTypeBool = 1,
    kTypeInt = 2,
    kTypeEnum = 3,
    kTypeDouble = 4,
  };

  enum Flags : int
  {
    kFlagCannotAutomate = 0x1,
    kFlagStepped = 0x2,
    kFlagNegateDisplay = 0x4,
    kFlagSignDisplay = 0x8,
  };

  static constexpr int kUnitCustom = 21;
  static constexpr int kTextSize = 32; // name, label, group and display texts, NUL included

  // Writes the text of a value; when set it alone formats the value.
  using DisplayFunc = std::function<void(double value, GrowString& text)>;

  // How a parameter maps to and from the normalised range 0 ... 1.
  class Shape
  {
  public:
    virtual ~Shape() = default;
    virtual Shape* Clone() const = 0;
    virtual void Init(const IParam&) {}
    virtual int GetShapeKind() const = 0;
    virtual double ValueFromNormalized(double normalized, const IParam& param) const = 0;
    virtual double NormalizedFromValue(double value, const IParam& param) const = 0;
  };

  class ShapeLinear : public Shape
  {
  public:
    Shape* Clone() const override { return new ShapeLinear(*this); }
    int GetShapeKind() const override { return 0; }
    double ValueFromNormalized(double normalized, const IParam& param) const override;
    double NormalizedFromValue(double value, const IParam& param) const override;
  };

  // Geometric between max(min, 1e-8) and the maximum.
  class ShapeExp : public Shape
  {
  public:
    Shape* Clone() const override { return new ShapeExp(*this); }
    void Init(const IParam& param) override;
    int GetShapeKind() const override { return 1; }
    double ValueFromNormalized(double normalized, const IParam& param) const override;
    double NormalizedFromValue(double value, const IParam& param) const override;

    double mul = 1.0;
    double add = 1.0;
  };

  IParam();
  ~IParam();
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  void InitDouble(const char* name, double defaultValue, double minValue, double maxValue, double step,
                  const char* label = "", int flags = 0, const char* group = "",
                  const Shape& shape = ShapeLinear(), int unit = kUnitCustom, DisplayFunc displayFunc = nullptr);
  void InitInt(const char* name, int defaultValue, int minValue, int maxValue, const char* label = "",
               int flags = 0, const char* group = "");

  // Stepped values round to the step (halves away from zero), then clamp to the range. A
  // non-finite value never becomes a parameter value: NaN gives the default, infinities clamp.
  double Constrain(double value) const;
  double ToNormalized(double value) const;
  double FromNormalized(double normalized) const;

  double Value() const { return mValue.load(); }
  double GetNormalized() const { return ToNormalized(Value()); }
  // Stores a value as given (an atomic exchange); a non-finite value is constrained first.
  void Set(double value);
  // Stores the value of a normalised position; a non-finite position is ignored (false).
  bool SetNormalized(double normalized);
  double GetDefault(bool normalized = false) const;

  bool SetDisplayText(double value, const char* text);
  int NDisplayTexts() const { return mDisplayTexts.GetSize(); }
  const IParamDisplayText* GetDisplayTextAtIdx(int index) const { return mDisplayTexts.Get(index); }
  const char* GetDisplayText(double value) const;
  const char* GetLabelForCurrentValue() const;

  // The text of a value: at most kTextSize - 1 characters.
  void GetDisplay(double value, bool normalized, GrowString& text, bool withDisplayText = true) const;
  void GetDisplay(GrowString& text, bool withDisplayText = true) const { GetDisplay(Value(), false, text, withDisplayText); }
  // The value of a typed text: a display text, else a plain decimal number (constrained).
  double MapDisplayText(const char* text) const;

  Type GetType() const { return mType; }
  void SetType(Type type) { mType = type; }
  int GetUnit() const { return mUnit; }
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  double GetStep() const { return mStep; }
  int GetDisplayPrecision() const { return mDisplayPrecision; }
  int GetFlags() const { return mFlags; }
  bool GetStepped() const { return (mFlags & kFlagStepped) != 0; }
  bool GetCanAutomate() const { return (mFlags & kFlagCannotAutomate) == 0; }
  const char* GetName() const { return mName; }
  const char* GetLabel() const { return mLabel; }
  const char* GetGroup() const { return mGroup; }
  const Shape& GetShape() const { return *mShape; }

private:
  Type mType = kTypeNone;
  int mUnit = kUnitCustom;
  std::atomic<double> mValue{0.0};
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mDefault = 0.0;
  int mDisplayPrecision = 0;
  int mFlags = 0;
  char mName[kTextSize] = {};
  char mLabel[kTextSize] = {};
  char mGroup[kTextSize] = {};
  Shape* mShape;
  DisplayFunc mDisplayFunc;
  GrowArray<IParamDisplayText> mDisplayTexts{4096};
};

} // namespace pfw
