#include "deps/vst3/helpers/FObject.h"

namespace Steinberg {

tresult VST3_CALL FObject::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (uidEqual(iid, FUnknown::iid))
  {
    addRef();
    *obj = unknown();
    return kResultOk;
  }
  if (answerInterface<IDependent>(this, iid, obj))
    return kResultOk;
  *obj = nullptr;
  return kNoInterface;
}

uint32 VST3_CALL FObject::addRef()
{
  return mRefCount.fetch_add(1, std::memory_order_relaxed) + 1;
}

uint32 VST3_CALL FObject::release()
{
  const uint32 count = mRefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (count == 0)
    delete this;
  return count;
}

bool FObject::addRefUnlessReleased()
{
  uint32 count = mRefCount.load(std::memory_order_acquire);
  while (count != 0)
    if (mRefCount.compare_exchange_weak(count, count + 1, std::memory_order_acq_rel))
      return true;
  return false;
}

void VST3_CALL FObject::update(FUnknown*, int32) {}

bool FObject::isTypeOf(const char* name, bool) const
{
  return typeNameEqual(name, "FObject");
}

} // namespace Steinberg
