#pragma once

#include "deps/vst3/interfaces/FUnknown.h"

#include <atomic>
#include <cstring>

namespace Steinberg {

// The reference-counted object base. A new object has one reference, owned by whoever
// made it; the last release deletes it. Its FUnknown face is the object's identity.
// It also answers IDependent, whose update is a no-op: nothing here observes changes.
inline bool typeNameEqual(const char* a, const char* b)
{
  return a && b && std::strcmp(a, b) == 0;
}

class FObject : public IDependent
{
public:
  FObject() = default;
  FObject(const FObject&) = delete;
  FObject& operator=(const FObject&) = delete;

  tresult VST3_CALL queryInterface(const TUID iid, void** obj) override;
  uint32 VST3_CALL addRef() override;
  uint32 VST3_CALL release() override;
  void VST3_CALL update(FUnknown* changedUnknown, int32 message) override;

  // Class-name identification along the chain of bases.
  virtual const char* isA() const { return "FObject"; }
  virtual bool isTypeOf(const char* name, bool askBaseClass = true) const;

  FUnknown* unknown() { return static_cast<IDependent*>(this); }
  uint32 getRefCount() const { return mRefCount.load(std::memory_order_acquire); }

protected:
  virtual ~FObject() = default;
  // One more reference, unless the last one is gone and the object is being deleted: for
  // a registry that hands out an object it does not own.
  bool addRefUnlessReleased();

private:
  std::atomic<uint32> mRefCount{1};
};

// Hands out iid's face of this object with one more reference, or null and kNoInterface.
// Use: if (answerInterface<IFoo>(this, iid, obj)) return kResultOk;
// Path picks the base sub-object when Interface is reached along more than one base.
template <class Interface, class Path = Interface, class Object>
bool answerInterface(Object* object, const TUID iid, void** obj)
{
  if (!uidEqual(iid, Interface::iid))
    return false;
  Interface* face = static_cast<Interface*>(static_cast<Path*>(object));
  face->addRef();
  *obj = face;
  return true;
}

} // namespace Steinberg

// A class that adds interfaces to an FObject base hands their FUnknown slots to that base.
#define VST3_FORWARD_REFCOUNT(Base)                                                          \
  ::Steinberg::uint32 VST3_CALL addRef() override { return Base::addRef(); }                 \
  ::Steinberg::uint32 VST3_CALL release() override { return Base::release(); }

// Names a class for isA/isTypeOf, asking Base for the rest of the chain.
#define VST3_OBJECT_TYPE(Class, Base)                                                        \
  const char* isA() const override { return #Class; }                                        \
  bool isTypeOf(const char* name, bool askBaseClass = true) const override                   \
  {                                                                                          \
    return ::Steinberg::typeNameEqual(name, #Class) || (askBaseClass && Base::isTypeOf(name, true)); \
  }
