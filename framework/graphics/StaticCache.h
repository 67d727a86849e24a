#pragma once

#include "HashString.h"

#include "framework/core/GrowString.h"
#include "framework/core/PointerList.h"
#include "framework/core/ScopedCriticalSection.h"

#include <cstring>

namespace pfw::gui {

// A process-wide cache of loaded resources keyed by name and scale, shared by every
// graphics instance. Callers hold Lock() around every operation; the cache is emptied
// when the last graphics instance releases it.
template <typename T>
class StaticCache
{
public:
  StaticCache() { InitializeCriticalSection(&mLock); }
  ~StaticCache()
  {
    Clear();
    DeleteCriticalSection(&mLock);
  }
  StaticCache(const StaticCache&) = delete;
  StaticCache& operator=(const StaticCache&) = delete;

  CRITICAL_SECTION* Lock() { return &mLock; }

  // The key text of a name and scale, for example "logo-1.0x".
  static GrowString KeyText(const char* name, double scale)
  {
    GrowString key(name);
    key.AppendFormatted(0, "-%.1fx", scale);
    return key;
  }

  // The cache owns the object from then on.
  void Add(T* object, const char* name, double scale)
  {
    Entry* entry = new Entry{HashString(KeyText(name, scale).Get()), GrowString(name), scale, object};
    if (!mEntries.Add(entry))
      delete entry;
  }

  T* Find(const char* name, double scale) const
  {
    const uint64_t hash = HashString(KeyText(name, scale).Get());
    for (int i = 0; i < mEntries.GetSize(); ++i)
    {
      const Entry* entry = mEntries.Get(i);
      if (entry->hash == hash && entry->scale == scale && std::strcmp(entry->name.Get(), name) == 0)
        return entry->object;
    }
    return nullptr;
  }

  // Deletes the first entry holding the object; false when there is none.
  bool Remove(const T* object)
  {
    for (int i = 0; i < mEntries.GetSize(); ++i)
      if (mEntries.Get(i)->object == object)
        return mEntries.Delete(i);
    return false;
  }

  void Clear()
  {
    for (int i = mEntries.GetSize() - 1; i >= 0; --i)
      mEntries.Delete(i);
  }

  int Size() const { return mEntries.GetSize(); }
  uint64_t KeyHashAt(int i) const { return mEntries.Get(i)->hash; }

  // Instance counting: one per living graphics instance; the last release empties it.
  void Retain() { ++mInstances; }
  void Release()
  {
    if (mInstances == 1)
      Clear();
    if (mInstances > 0)
      --mInstances;
  }
  int Instances() const { return mInstances; }

private:
  struct Entry
  {
    uint64_t hash;
    GrowString name;
    double scale;
    T* object;
    ~Entry() { delete object; }
  };

  PointerList<Entry> mEntries{true};
  int mInstances = 0;
  CRITICAL_SECTION mLock;
};

} // namespace pfw::gui
