#pragma once

#include "ByteBuffer.h"

#include <cstring>

namespace pfw {

// A growable list of pointers on a ByteBuffer of granularity 4096. An owning list deletes
// its elements on removal and, when destroyed, from the last to the first, shrinking by
// one pointer after each deletion so that a dying element never sees itself listed.
template <typename T>
class PointerList
{
public:
  explicit PointerList(bool owning = false)
    : mBuffer(4096)
    , mOwning(owning)
  {
  }
  ~PointerList() { Clear(); }
  PointerList(const PointerList&) = delete;
  PointerList& operator=(const PointerList&) = delete;

  bool IsOwning() const { return mOwning; }
  int GetSize() const { return mBuffer.Size() / static_cast<int>(sizeof(T*)); }
  T* Get(int index) const
  {
    T** list = GetList();
    return list && index >= 0 && index < GetSize() ? list[index] : nullptr;
  }
  T* GetLast() const { return Get(GetSize() - 1); }

  // Returns the element, or null when memory fails (the caller keeps the element then).
  T* Add(T* element) { return Insert(GetSize(), element); }

  T* Insert(int index, T* element)
  {
    const int count = GetSize();
    if (index < 0 || index > count)
      index = count;
    const int bytes = (count + 1) * static_cast<int>(sizeof(T*));
    mBuffer.Resize(bytes, false);
    if (mBuffer.Size() != bytes)
      return nullptr;
    T** list = GetList();
    std::memmove(list + index + 1, list + index, sizeof(T*) * static_cast<size_t>(count - index));
    list[index] = element;
    return element;
  }

  int Find(const T* element) const
  {
    T** list = GetList();
    for (int i = 0; i < GetSize(); ++i)
      if (list[i] == element)
        return i;
    return -1;
  }

  // Removes one entry, deleting it when the list owns its elements.
  bool Delete(int index)
  {
    const int count = GetSize();
    if (index < 0 || index >= count)
      return false;
    T** list = GetList();
    T* element = list[index];
    std::memmove(list + index, list + index + 1, sizeof(T*) * static_cast<size_t>(count - index - 1));
    mBuffer.Resize((count - 1) * static_cast<int>(sizeof(T*)), false);
    if (mOwning)
      delete element;
    return true;
  }

  void Clear()
  {
    if (mOwning)
    {
      for (int i = GetSize() - 1; i >= 0; --i)
      {
        T* element = GetList()[i];
        mBuffer.Resize(i * static_cast<int>(sizeof(T*)), false);
        delete element;
      }
    }
    mBuffer.Resize(0, true);
  }

private:
  T** GetList() const { return static_cast<T**>(mBuffer.Data()); }

  ByteBuffer mBuffer;
  const bool mOwning;
};

} // namespace pfw
