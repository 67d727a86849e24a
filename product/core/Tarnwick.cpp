#include "product/core/Tarnwick.h"

#include "framework/core/ScopedCriticalSection.h"
#include "framework/core/WindowsServices.h"
#include "product/core/TarnwickConfig.h"
#include "product/editor/EditorInstall.h"

#include <new>

Tarnwick::Tarnwick(const TarnwickInstanceInfo& info)
  : TarnwickWrapper(info, MakeTarnwickConfig())
  , mProduct(*this, *this)
{
  editor::InstallEditor(*this, mProduct);
}

// The product, and with it the engine, goes before the wrapper and the framework bases.
Tarnwick::~Tarnwick() = default;

void Tarnwick::OnActivate(bool active)
{
  mProduct.OnActivate(active);
}

void Tarnwick::OnReset()
{
  mProduct.OnReset();
}

void Tarnwick::ProcessBlock(float** inputs, float** outputs, int nFrames)
{
  mProduct.ProcessBlock(inputs, outputs, nFrames);
}

void Tarnwick::OnParamChangeHook(int)
{
  mProduct.UpdateTailSamples();
}

void Tarnwick::OnParamReset(int)
{
  mProduct.UpdateTailSamples();
}

void Tarnwick::OnParentWindowResize(int width, int height)
{
  mProduct.OnParentWindowResize(width, height);
}

void Tarnwick::EditorSizeForWindow(int& width, int& height, DrivingSides driving) const
{
  mProduct.EditorSizeForWindow(width, height, driving);
}

bool Tarnwick::SerializeState(pfw::IDataChunk& chunk) const
{
  return mProduct.SerializeState(chunk);
}

int Tarnwick::UnserializeState(const pfw::IDataChunk& chunk, int startPos)
{
  return mProduct.UnserializeState(chunk, startPos);
}

namespace {

// Made on first use (thread-safe) and deleted at process exit.
class FactoryLock
{
public:
  FactoryLock()
    : mSection(new CRITICAL_SECTION)
  {
    InitializeCriticalSection(mSection);
  }
  ~FactoryLock() { pfw::DeleteProcessLock(mSection); }
  FactoryLock(const FactoryLock&) = delete;
  FactoryLock& operator=(const FactoryLock&) = delete;

  CRITICAL_SECTION* Get() { return mSection; }

private:
  CRITICAL_SECTION* mSection;
};

CRITICAL_SECTION* FactorySection()
{
  static FactoryLock lock;
  return lock.Get();
}

} // namespace

Tarnwick* MakeTarnwick(const TarnwickInstanceInfo& info)
{
  try
  {
    pfw::ScopedCriticalSection guard(FactorySection());
    return new Tarnwick(info);
  }
  catch (...)
  {
    // Nothing may escape into the host; what was built has been destroyed.
    return nullptr;
  }
}
