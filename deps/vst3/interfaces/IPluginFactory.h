#pragma once

#include "deps/vst3/interfaces/FUnknown.h"

namespace Steinberg {

struct PFactoryInfo
{
  enum FactoryFlags : int32
  {
    kNoFlags = 0,
    kClassesDiscardable = 1,
    kLicenseCheck = 2,
    kComponentNonDiscardable = 8,
    kUnicode = 16,
  };
  static constexpr int32 kNameSize = 64;
  static constexpr int32 kURLSize = 256;
  static constexpr int32 kEmailSize = 128;

  char8 vendor[kNameSize];
  char8 url[kURLSize];
  char8 email[kEmailSize];
  int32 flags;
};

struct PClassInfo
{
  static constexpr int32 kManyInstances = 0x7FFFFFFF;
  static constexpr int32 kCategorySize = 32;
  static constexpr int32 kNameSize = 64;

  TUID cid;
  int32 cardinality;
  char8 category[kCategorySize];
  char8 name[kNameSize];
};

struct PClassInfo2
{
  static constexpr int32 kVendorSize = 64;
  static constexpr int32 kVersionSize = 64;
  static constexpr int32 kSubCategoriesSize = 128;

  TUID cid;
  int32 cardinality;
  char8 category[PClassInfo::kCategorySize];
  char8 name[PClassInfo::kNameSize];
  uint32 classFlags;
  char8 subCategories[kSubCategoriesSize];
  char8 vendor[kVendorSize];
  char8 version[kVersionSize];
  char8 sdkVersion[kVersionSize];
};

// The Unicode class record: category and sub-categories stay 8-bit.
struct PClassInfoW
{
  TUID cid;
  int32 cardinality;
  char8 category[PClassInfo::kCategorySize];
  char16 name[PClassInfo::kNameSize];
  uint32 classFlags;
  char8 subCategories[PClassInfo2::kSubCategoriesSize];
  char16 vendor[PClassInfo2::kVendorSize];
  char16 version[PClassInfo2::kVersionSize];
  char16 sdkVersion[PClassInfo2::kVersionSize];
};

static_assert(sizeof(PFactoryInfo) == 452 && alignof(PFactoryInfo) == 4);
static_assert(offsetof(PFactoryInfo, url) == 64 && offsetof(PFactoryInfo, email) == 320 &&
              offsetof(PFactoryInfo, flags) == 448);
static_assert(sizeof(PClassInfo) == 116 && alignof(PClassInfo) == 4);
static_assert(offsetof(PClassInfo, cardinality) == 16 && offsetof(PClassInfo, category) == 20 &&
              offsetof(PClassInfo, name) == 52);
static_assert(sizeof(PClassInfo2) == 440 && alignof(PClassInfo2) == 4);
static_assert(offsetof(PClassInfo2, classFlags) == 116 && offsetof(PClassInfo2, subCategories) == 120 &&
              offsetof(PClassInfo2, vendor) == 248 && offsetof(PClassInfo2, version) == 312 &&
              offsetof(PClassInfo2, sdkVersion) == 376);
static_assert(sizeof(PClassInfoW) == 696 && alignof(PClassInfoW) == 4);
static_assert(offsetof(PClassInfoW, name) == 52 && offsetof(PClassInfoW, classFlags) == 180 &&
              offsetof(PClassInfoW, subCategories) == 184 && offsetof(PClassInfoW, vendor) == 312 &&
              offsetof(PClassInfoW, version) == 440 && offsetof(PClassInfoW, sdkVersion) == 568);

class IPluginFactory : public FUnknown
{
public:
  virtual tresult VST3_CALL getFactoryInfo(PFactoryInfo* info) = 0;
  virtual int32 VST3_CALL countClasses() = 0;
  virtual tresult VST3_CALL getClassInfo(int32 index, PClassInfo* info) = 0;
  // cid and iid each point at 16 raw identifier bytes, not at text.
  virtual tresult VST3_CALL createInstance(FIDString cid, FIDString iid, void** obj) = 0;
  VST3_INTERFACE_ID(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);
};

class IPluginFactory2 : public IPluginFactory
{
public:
  virtual tresult VST3_CALL getClassInfo2(int32 index, PClassInfo2* info) = 0;
  VST3_INTERFACE_ID(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);
};

class IPluginFactory3 : public IPluginFactory2
{
public:
  virtual tresult VST3_CALL getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
  virtual tresult VST3_CALL setHostContext(FUnknown* context) = 0;
  VST3_INTERFACE_ID(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);
};

namespace Vst {
// Class flags of an audio component and the category texts.
enum ComponentFlags : uint32
{
  kDistributable = 1,
  kSimpleModeSupported = 2,
};
constexpr const char* kVstAudioEffectClass = "Audio Module Class";
constexpr const char* kVstComponentControllerClass = "Component Controller Class";
} // namespace Vst

} // namespace Steinberg
