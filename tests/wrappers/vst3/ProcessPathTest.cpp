// The audio thread's calls watched through the module's own imports: while blocks run,
// with parameter changes, the bypass, the side-chain and parameter flushes, the module
// allocates nothing, takes no lock and never waits.

#include "TarnwickModule.h"

#include <windows.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>

using namespace vst3host;
using namespace tarnwicktest;

namespace {

std::atomic<DWORD> gWatchedThread{0};
std::atomic<int> gAllocations{0};
std::atomic<int> gLocks{0};
std::atomic<int> gWaits{0};

bool Watched()
{
  return gWatchedThread.load() == GetCurrentThreadId();
}

using Malloc = void* (*)(size_t);
using Calloc = void* (*)(size_t, size_t);
using Realloc = void* (*)(void*, size_t);
using AlignedMalloc = void* (*)(size_t, size_t);
using CriticalSectionCall = void(WINAPI*)(LPCRITICAL_SECTION);
using TryCriticalSectionCall = BOOL(WINAPI*)(LPCRITICAL_SECTION);
using SleepCall = void(WINAPI*)(DWORD);
using WaitOneCall = DWORD(WINAPI*)(HANDLE, DWORD);
using WaitManyCall = DWORD(WINAPI*)(DWORD, const HANDLE*, BOOL, DWORD);

Malloc gMalloc = nullptr;
Calloc gCalloc = nullptr;
Realloc gRealloc = nullptr;
AlignedMalloc gAlignedMalloc = nullptr;
CriticalSectionCall gEnter = nullptr;
TryCriticalSectionCall gTryEnter = nullptr;
SleepCall gSleep = nullptr;
WaitOneCall gWaitOne = nullptr;
WaitManyCall gWaitMany = nullptr;

void* CountedMalloc(size_t size)
{
  gAllocations += Watched();
  return gMalloc(size);
}
void* CountedCalloc(size_t count, size_t size)
{
  gAllocations += Watched();
  return gCalloc(count, size);
}
void* CountedRealloc(void* block, size_t size)
{
  gAllocations += Watched();
  return gRealloc(block, size);
}
void* CountedAlignedMalloc(size_t size, size_t alignment)
{
  gAllocations += Watched();
  return gAlignedMalloc(size, alignment);
}
void WINAPI CountedEnter(LPCRITICAL_SECTION section)
{
  gLocks += Watched();
  gEnter(section);
}
BOOL WINAPI CountedTryEnter(LPCRITICAL_SECTION section)
{
  gLocks += Watched();
  return gTryEnter(section);
}
void WINAPI CountedSleep(DWORD milliseconds)
{
  gWaits += Watched();
  gSleep(milliseconds);
}
DWORD WINAPI CountedWaitOne(HANDLE handle, DWORD milliseconds)
{
  gWaits += Watched();
  return gWaitOne(handle, milliseconds);
}
DWORD WINAPI CountedWaitMany(DWORD count, const HANDLE* handles, BOOL all, DWORD milliseconds)
{
  gWaits += Watched();
  return gWaitMany(count, handles, all, milliseconds);
}

// Points the module's import of dll!function at replacement; gives the address it held,
// or null when the module does not import that function.
void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement)
{
  auto* base = reinterpret_cast<unsigned char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name != 0;
       ++entry)
  {
    if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), dll) != 0)
      continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + entry->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA64*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots)
    {
      if (IMAGE_SNAP_BY_ORDINAL64(names->u1.Ordinal))
        continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0)
        continue;
      DWORD protection = 0;
      if (!VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &protection))
        return nullptr;
      void* original = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONGLONG>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), protection, &protection);
      return original;
    }
  }
  return nullptr;
}

// The counting imports for as long as it lives.
class ImportWatch
{
public:
  explicit ImportWatch(HMODULE module)
    : mModule(module)
  {
    Patch("msvcrt.dll", "malloc", &CountedMalloc, gMalloc);
    Patch("msvcrt.dll", "calloc", &CountedCalloc, gCalloc);
    Patch("msvcrt.dll", "realloc", &CountedRealloc, gRealloc);
    Patch("msvcrt.dll", "_aligned_malloc", &CountedAlignedMalloc, gAlignedMalloc);
    Patch("kernel32.dll", "EnterCriticalSection", &CountedEnter, gEnter);
    Patch("kernel32.dll", "TryEnterCriticalSection", &CountedTryEnter, gTryEnter);
    Patch("kernel32.dll", "Sleep", &CountedSleep, gSleep);
    Patch("kernel32.dll", "WaitForSingleObject", &CountedWaitOne, gWaitOne);
    Patch("kernel32.dll", "WaitForMultipleObjects", &CountedWaitMany, gWaitMany);
  }
  ~ImportWatch()
  {
    Restore("msvcrt.dll", "malloc", gMalloc);
    Restore("msvcrt.dll", "calloc", gCalloc);
    Restore("msvcrt.dll", "realloc", gRealloc);
    Restore("msvcrt.dll", "_aligned_malloc", gAlignedMalloc);
    Restore("kernel32.dll", "EnterCriticalSection", gEnter);
    Restore("kernel32.dll", "TryEnterCriticalSection", gTryEnter);
    Restore("kernel32.dll", "Sleep", gSleep);
    Restore("kernel32.dll", "WaitForSingleObject", gWaitOne);
    Restore("kernel32.dll", "WaitForMultipleObjects", gWaitMany);
  }
  int patched() const { return mPatched; }

private:
  template <class Function>
  void Patch(const char* dll, const char* name, Function replacement, Function& original)
  {
    original = reinterpret_cast<Function>(PatchImport(mModule, dll, name, reinterpret_cast<void*>(replacement)));
    mPatched += original != nullptr;
  }
  template <class Function>
  void Restore(const char* dll, const char* name, Function original)
  {
    if (original)
      PatchImport(mModule, dll, name, reinterpret_cast<void*>(original));
  }

  HMODULE mModule;
  int mPatched = 0;
};

// Counts what the calling thread does inside the module while it lives.
class WatchThisThread
{
public:
  WatchThisThread()
  {
    gAllocations = gLocks = gWaits = 0;
    gWatchedThread = GetCurrentThreadId();
  }
  ~WatchThisThread() { gWatchedThread = 0; }
};

void PlayWatchedBlocks(Session& session, int32_t sampleSize)
{
  session.start(48000., sampleSize, 512, true);
  // Blocks and changes are the host's: made before the watch, so only the module counts.
  std::vector<std::unique_ptr<Block>> blocks;
  std::vector<std::unique_ptr<ParameterChanges>> changes;
  const int32_t sizes[] = {512, 1, 77, 0, 512, 300, 0, 512};
  for (int round = 0; round < 4; ++round)
    for (int32_t frames : sizes)
    {
      blocks.push_back(std::make_unique<Block>(sampleSize, frames, std::vector<int32_t>{2, 2},
                                               std::vector<int32_t>{2}));
      for (int32_t f = 0; f < frames; ++f)
      {
        blocks.back()->setInput(0, 0, f, 0.4 * std::sin(0.05 * f));
        blocks.back()->setInput(0, 1, f, 0.3 * std::sin(0.07 * f));
        blocks.back()->setInput(1, 0, f, 0.2 * std::sin(0.03 * f));
      }
      blocks.back()->data().inputs[1].silenceFlags = round == 2 ? 2 : 0;
      changes.push_back(std::make_unique<ParameterChanges>());
      const double turn = (blocks.size() % 7) / 6.0;
      for (ParamID id = 0; id < static_cast<ParamID>(kParamCount); id += 5)
        changes.back()->add(id, 0, turn);
      changes.back()->add(kBypassTag, 0, round == 1 ? 1.0 : 0.0);
    }
  // Warm up: the first blocks may settle whatever the engine does on its first run.
  for (size_t i = 0; i < 8; ++i)
    ASSERT_EQ(session.run(*blocks[i], changes[i].get()), kOk);

  ImportWatch watch(session.module.handle());
  ASSERT_GE(watch.patched(), 5); // the module's allocator, lock and wait imports are all hooked
  WatchThisThread watching;
  for (size_t i = 8; i < blocks.size(); ++i)
  {
    ASSERT_EQ(session.run(*blocks[i], changes[i].get()), kOk) << i;
    EXPECT_TRUE(blocks[i]->outputsFinite()) << i;
  }
  EXPECT_EQ(gAllocations.load(), 0);
  EXPECT_EQ(gLocks.load(), 0);
  EXPECT_EQ(gWaits.load(), 0);
  // Processing switched off and on again may come on the audio thread too; it resets.
  EXPECT_EQ(session.instance.processor->setProcessing(0), kOk);
  EXPECT_EQ(session.instance.processor->setProcessing(1), kOk);
  ASSERT_EQ(session.run(*blocks[0], changes[0].get()), kOk);
  EXPECT_EQ(gAllocations.load(), 0);
  EXPECT_EQ(gLocks.load(), 0);
  EXPECT_EQ(gWaits.load(), 0);
}

} // namespace

TEST(TarnwickVst3ProcessPath, BlocksAllocateNothingTakeNoLockAndNeverWait)
{
  for (int32_t sampleSize : {kSample32, kSample64})
  {
    Session session;
    ASSERT_TRUE(session.ok());
    PlayWatchedBlocks(session, sampleSize);
  }
}

// The watch itself: a call that does allocate inside the module is seen.
TEST(TarnwickVst3ProcessPath, TheWatchSeesAnAllocationInsideTheModule)
{
  Session session;
  ASSERT_TRUE(session.ok());
  ImportWatch watch(session.module.handle());
  ASSERT_GE(watch.patched(), 5);
  WatchThisThread watching;
  MemoryStream state;
  ASSERT_EQ(session.instance.component->getState(&state), kOk); // builds its record on the heap
  EXPECT_GT(gAllocations.load(), 0);
  Instance second; // made under the module's process-wide factory lock
  ASSERT_TRUE(second.create(session.factory, kClassId, &session.host));
  EXPECT_GT(gLocks.load(), 0);
}
