#include "deps/vst3/helpers/PluginFactory.h"

#include "deps/vst3/helpers/StringConvert.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>

namespace Steinberg {

namespace {
std::mutex gModuleFactoryLock;
CPluginFactory* gModuleFactory = nullptr;
} // namespace

CPluginFactory::CPluginFactory(const PFactoryInfo& info)
  : mFactoryInfo(info)
{
}

CPluginFactory::~CPluginFactory()
{
  // A later GetPluginFactory must build a new factory, never touch this one.
  std::lock_guard<std::mutex> lock(gModuleFactoryLock);
  if (gModuleFactory == this)
    gModuleFactory = nullptr;
}

CPluginFactory* CPluginFactory::acquireModuleFactory(const PFactoryInfo& info,
                                                     bool (*registerClasses)(CPluginFactory& factory))
{
  std::unique_lock<std::mutex> lock(gModuleFactoryLock);
  if (gModuleFactory && gModuleFactory->addRefUnlessReleased())
    return gModuleFactory;
  CPluginFactory* factory = new (std::nothrow) CPluginFactory(info);
  if (!factory)
    return nullptr;
  bool registered = false;
  try
  {
    registered = registerClasses && registerClasses(*factory);
  }
  catch (...)
  {
    registered = false;
  }
  if (!registered)
  {
    lock.unlock(); // the destructor takes the lock
    delete factory;
    return nullptr;
  }
  gModuleFactory = factory;
  return factory;
}

bool CPluginFactory::registerClass(const PClassInfo2* info, CreateFunction create, void* context)
{
  if (!info || !create)
    return false;
  try
  {
    mClasses.push_back(ClassEntry{*info, create, context});
  }
  catch (const std::bad_alloc&)
  {
    return false;
  }
  return true;
}

bool CPluginFactory::registerAudioEffect(const AudioEffectClass& effect, CreateFunction create)
{
  PClassInfo2 info{};
  writeUid(info.cid, effect.idWords[0], effect.idWords[1], effect.idWords[2], effect.idWords[3]);
  info.cardinality = PClassInfo::kManyInstances;
  copyText8(info.category, sizeof(info.category), Vst::kVstAudioEffectClass);
  copyText8(info.name, sizeof(info.name), effect.name);
  info.classFlags = Vst::kSimpleModeSupported;
  copyText8(info.subCategories, sizeof(info.subCategories), effect.subCategories);
  copyText8(info.version, sizeof(info.version), effect.version);
  copyText8(info.sdkVersion, sizeof(info.sdkVersion), effect.sdkVersion);
  return registerClass(&info, create);
}

const CPluginFactory::ClassEntry* CPluginFactory::entry(int32 index) const
{
  return index >= 0 && static_cast<size_t>(index) < mClasses.size() ? &mClasses[static_cast<size_t>(index)] : nullptr;
}

tresult VST3_CALL CPluginFactory::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (uidEqual(iid, FUnknown::iid) || uidEqual(iid, IPluginFactory::iid) || uidEqual(iid, IPluginFactory2::iid) ||
      uidEqual(iid, IPluginFactory3::iid))
  {
    addRef();
    *obj = static_cast<IPluginFactory3*>(this);
    return kResultOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

tresult VST3_CALL CPluginFactory::getFactoryInfo(PFactoryInfo* info)
{
  if (!info)
    return kInvalidArgument;
  std::memcpy(info, &mFactoryInfo, sizeof(PFactoryInfo));
  return kResultOk;
}

int32 VST3_CALL CPluginFactory::countClasses()
{
  return static_cast<int32>(mClasses.size());
}

tresult VST3_CALL CPluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
  const ClassEntry* found = entry(index);
  if (!info || !found)
    return kInvalidArgument;
  std::memcpy(info, &found->info, sizeof(PClassInfo)); // the first 116 bytes of PClassInfo2
  return kResultOk;
}

tresult VST3_CALL CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
  const ClassEntry* found = entry(index);
  if (!info || !found)
    return kInvalidArgument;
  std::memcpy(info, &found->info, sizeof(PClassInfo2));
  return kResultOk;
}

tresult VST3_CALL CPluginFactory::getClassInfoUnicode(int32 index, PClassInfoW* info)
{
  const ClassEntry* found = entry(index);
  if (!info || !found)
    return kInvalidArgument;
  const PClassInfo2& source = found->info;
  std::memcpy(info->cid, source.cid, sizeof(TUID));
  info->cardinality = source.cardinality;
  std::memcpy(info->category, source.category, sizeof(info->category));
  info->classFlags = source.classFlags;
  std::memcpy(info->subCategories, source.subCategories, sizeof(info->subCategories));
  // The 8-bit fields need not be terminated; copy at most their size.
  char text[PClassInfo2::kSubCategoriesSize + 1];
  const auto widenField = [&text](char16* dst, int32 units, const char* src, int32 size) {
    copyText8(text, size + 1, src);
    widenText(dst, units, text);
  };
  widenField(info->name, PClassInfo::kNameSize, source.name, sizeof(source.name));
  widenField(info->vendor, PClassInfo2::kVendorSize, source.vendor, sizeof(source.vendor));
  widenField(info->version, PClassInfo2::kVersionSize, source.version, sizeof(source.version));
  widenField(info->sdkVersion, PClassInfo2::kVersionSize, source.sdkVersion, sizeof(source.sdkVersion));
  return kResultOk;
}

tresult VST3_CALL CPluginFactory::setHostContext(FUnknown*)
{
  return kNotImplemented;
}

tresult VST3_CALL CPluginFactory::createInstance(FIDString cid, FIDString iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  *obj = nullptr;
  if (!cid || !iid)
    return kInvalidArgument;
  const auto found = std::find_if(mClasses.begin(), mClasses.end(),
                                 [cid](const ClassEntry& entry) { return uidEqual(entry.info.cid, cid); });
  if (found == mClasses.end())
    return kNoInterface;
  FUnknown* instance = nullptr;
  try
  {
    instance = found->create(found->context);
  }
  catch (...)
  {
    instance = nullptr;
  }
  if (!instance)
    return kNoInterface;
  // The new object has one reference; a successful query adds the caller's, and the
  // release leaves the caller owning the only one (or destroys an object that said no).
  const tresult result = instance->queryInterface(iid, obj);
  instance->release();
  if (result != kResultOk)
  {
    *obj = nullptr;
    return kNoInterface;
  }
  return kResultOk;
}

} // namespace Steinberg
