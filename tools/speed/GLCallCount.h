#pragma once

#include "framework/graphics/renderer/GLFunctions.h"

// GL calls made since CountGLCalls; a timing program reads it before and after a frame.
inline long gGLCalls = 0;

// Replaces each GL entry point with one that counts its calls, then calls the real one.
template <typename Fn>
struct Counting;
template <typename R, typename... A>
struct Counting<R(TARNWICK_GLAPI*)(A...)>
{
  template <R(TARNWICK_GLAPI** Slot)(A...)>
  struct For
  {
    static inline R(TARNWICK_GLAPI* real)(A...) = nullptr;
    static R TARNWICK_GLAPI Call(A... args)
    {
      ++gGLCalls;
      return real(args...);
    }
    static void Install()
    {
      real = *Slot;
      *Slot = &Call;
    }
  };
};

// Call once, after the GL functions were loaded (a later load puts the plain ones back).
inline void CountGLCalls()
{
#define TARNWICK_COUNT(ret, name, args) Counting<pfw::gl::PFN_##name>::For<&pfw::gl::name>::Install();
  TARNWICK_GL11_FUNCTIONS(TARNWICK_COUNT)
  TARNWICK_GL2_FUNCTIONS(TARNWICK_COUNT)
#undef TARNWICK_COUNT
}
