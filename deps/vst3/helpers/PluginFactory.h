#pragma once

#include "deps/vst3/helpers/FObject.h"
#include "deps/vst3/interfaces/IPluginFactory.h"

#include <vector>

namespace Steinberg {

// The module's class factory. It answers FUnknown, IPluginFactory, IPluginFactory2 and
// IPluginFactory3 with one pointer and deletes itself with its last reference.
class CPluginFactory final : public FObject, public IPluginFactory3
{
public:
  using CreateFunction = FUnknown* (*)(void* context);

  explicit CPluginFactory(const PFactoryInfo& info);
  CPluginFactory(const CPluginFactory&) = delete;
  CPluginFactory& operator=(const CPluginFactory&) = delete;

  // Adds a class; false when memory fails or the arguments are null.
  bool registerClass(const PClassInfo2* info, CreateFunction create, void* context = nullptr);

  // The record of an audio effect class that allows many instances and simple mode: the
  // class id from its four words, then its texts, each cut to its field.
  struct AudioEffectClass
  {
    uint32 idWords[4];
    const char* name;
    const char* subCategories;
    const char* version;
    const char* sdkVersion;
  };
  bool registerAudioEffect(const AudioEffectClass& effect, CreateFunction create);

  tresult VST3_CALL queryInterface(const TUID iid, void** obj) override;
  VST3_FORWARD_REFCOUNT(FObject)

  tresult VST3_CALL getFactoryInfo(PFactoryInfo* info) override;
  int32 VST3_CALL countClasses() override;
  tresult VST3_CALL getClassInfo(int32 index, PClassInfo* info) override;
  tresult VST3_CALL createInstance(FIDString cid, FIDString iid, void** obj) override;
  tresult VST3_CALL getClassInfo2(int32 index, PClassInfo2* info) override;
  tresult VST3_CALL getClassInfoUnicode(int32 index, PClassInfoW* info) override;
  tresult VST3_CALL setHostContext(FUnknown* context) override;

  // The module's one factory: the live one with a new reference, or a new one (count 1)
  // filled by registerClasses. A factory that is being destroyed is never handed out,
  // so a host may release the factory and ask again at any time. Null on failure.
  static CPluginFactory* acquireModuleFactory(const PFactoryInfo& info,
                                              bool (*registerClasses)(CPluginFactory& factory));

private:
  struct ClassEntry
  {
    PClassInfo2 info;
    CreateFunction create;
    void* context;
  };

  ~CPluginFactory() override;
  const ClassEntry* entry(int32 index) const;

  PFactoryInfo mFactoryInfo;
  std::vector<ClassEntry> mClasses;
};

} // namespace Steinberg
