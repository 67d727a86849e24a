#include "ScratchArena.h"

#include <cstdlib>

namespace pfw::gui {

ScratchArena::~ScratchArena()
{
  std::free(mBlock);
}

bool ScratchArena::Init()
{
  mBlock = static_cast<unsigned char*>(std::malloc(kSize));
  mUsed = 0;
  return mBlock != nullptr;
}

void* ScratchArena::TakeFromBlock(size_t size)
{
  size = (size + 0xf) & ~static_cast<size_t>(0xf);
  if (!mBlock || size > kSize || mUsed + size > kSize)
    return nullptr;
  void* piece = mBlock + mUsed;
  mUsed += size;
  return piece;
}

void* ScratchArena::Allocate(size_t size)
{
  if (void* piece = TakeFromBlock(size))
    return piece;
  if (mFullHandler)
    mFullHandler(mFullUser, size);
  return std::malloc(size);
}

void ScratchArena::Free(void* pointer)
{
  const unsigned char* bytes = static_cast<const unsigned char*>(pointer);
  // Pieces of the block come back with the next reset.
  if (mBlock && bytes >= mBlock && bytes < mBlock + kSize)
    return;
  std::free(pointer);
}

} // namespace pfw::gui
