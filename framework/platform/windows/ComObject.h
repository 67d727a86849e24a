#pragma once

#include <windows.h>
#include <unknwn.h>

namespace pfw {

// The IUnknown part of a small COM object of one interface: a reference count that starts
// at 1 and deletes the object when it returns to 0, and QueryInterface for IUnknown and
// that interface.
template <typename Interface>
class ComObject : public Interface
{
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
  {
    if (!object)
      return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface)))
    {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&mReferences)); }
  ULONG STDMETHODCALLTYPE Release() override
  {
    const LONG references = InterlockedDecrement(&mReferences);
    if (references == 0)
      delete this;
    return static_cast<ULONG>(references);
  }

protected:
  ComObject() = default;
  virtual ~ComObject() = default;

private:
  LONG mReferences = 1;
};

} // namespace pfw
