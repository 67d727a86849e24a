#pragma once

#include "deps/vst3/interfaces/VstTypes.h"

#include <new>
#include <vector>

namespace Steinberg {

// A list that holds one reference to each of its reference-counted objects, in the order
// they were added. Clearing releases them from the last to the first, each unlisted before
// its release so that a dying object never finds itself listed.
template <class T>
class ReferenceList
{
public:
  ReferenceList() = default;
  ~ReferenceList() { clear(); }
  ReferenceList(const ReferenceList&) = delete;
  ReferenceList& operator=(const ReferenceList&) = delete;

  // Takes the caller's reference; when memory fails releases the object and returns false.
  bool add(T* object)
  {
    if (!object)
      return false;
    try
    {
      objects.push_back(object);
    }
    catch (const std::bad_alloc&)
    {
      object->release();
      return false;
    }
    return true;
  }

  int32 size() const { return static_cast<int32>(objects.size()); }
  T* at(int32 index) const { return index >= 0 && index < size() ? objects[static_cast<size_t>(index)] : nullptr; }

  void clear()
  {
    while (!objects.empty())
    {
      T* object = objects.back();
      objects.pop_back();
      object->release();
    }
  }

private:
  std::vector<T*> objects;
};

} // namespace Steinberg
