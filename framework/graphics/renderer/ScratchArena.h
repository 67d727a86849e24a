#pragma once

#include <cstddef>

namespace pfw::gui {

// The working memory of font parsing and glyph rasterising, reset before each glyph and
// each font: a fixed block handed out in 16-byte steps. A request the block cannot hold
// spills to the heap, because stb_truetype's rasteriser does not check every allocation
// it makes.
class ScratchArena
{
public:
  static constexpr int kSize = 96000;

  ScratchArena() = default;
  ~ScratchArena();
  ScratchArena(const ScratchArena&) = delete;
  ScratchArena& operator=(const ScratchArena&) = delete;

  bool Init();
  // Told of every request the block cannot hold, before it goes to the heap.
  void SetFullHandler(void (*handler)(void* user, size_t size), void* user)
  {
    mFullHandler = handler;
    mFullUser = user;
  }
  void Reset() { mUsed = 0; }
  // A piece of the block; null when the block is full.
  void* TakeFromBlock(size_t size);
  // A piece of the block, else of the heap; null only when both fail.
  void* Allocate(size_t size);
  void Free(void* pointer);

private:
  unsigned char* mBlock = nullptr;
  size_t mUsed = 0;
  void (*mFullHandler)(void* user, size_t size) = nullptr;
  void* mFullUser = nullptr;
};

} // namespace pfw::gui
