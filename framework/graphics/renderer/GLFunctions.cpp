#include "GLFunctions.h"

#include <windows.h>

namespace pfw::gl {

#define TARNWICK_GL_DEFINE(ret, name, args) PFN_##name name = nullptr;
TARNWICK_GL11_FUNCTIONS(TARNWICK_GL_DEFINE)
TARNWICK_GL2_FUNCTIONS(TARNWICK_GL_DEFINE)
#undef TARNWICK_GL_DEFINE

namespace {
bool sLoaded = false;

// wglGetProcAddress answers a few small integers instead of null on some drivers.
bool Usable(PROC proc)
{
  const auto value = reinterpret_cast<intptr_t>(proc);
  return value != 0 && value != 1 && value != 2 && value != 3 && value != -1;
}

template <typename Function>
bool Resolve(Function& target, PROC proc)
{
  target = Usable(proc) ? reinterpret_cast<Function>(reinterpret_cast<void*>(proc)) : nullptr;
  return target != nullptr;
}
} // namespace

bool LoadFunctions(const char** firstMissing)
{
  // Resolved into a table of their own and taken only when complete: the entry points
  // that open windows draw with stay as they are when another context lacks some (a
  // second editor opened on a software renderer, as remote sessions give).
  struct Table
  {
#define TARNWICK_GL_MEMBER(ret, name, args) PFN_##name name = nullptr;
    TARNWICK_GL11_FUNCTIONS(TARNWICK_GL_MEMBER)
    TARNWICK_GL2_FUNCTIONS(TARNWICK_GL_MEMBER)
#undef TARNWICK_GL_MEMBER
  } table;
  const char* missing = nullptr;
  // opengl32 is loaded by every process that made a GL context; this only adds a reference.
  HMODULE library = LoadLibraryW(L"opengl32.dll");
  const auto wglProc =
    library ? reinterpret_cast<PROC(WINAPI*)(LPCSTR)>(reinterpret_cast<void*>(GetProcAddress(library, "wglGetProcAddress")))
            : nullptr;
  if (!library || !wglProc)
    missing = "wglGetProcAddress";
#define TARNWICK_GL_RESOLVE11(ret, name, args)                                                                       \
  if (!missing && !Resolve(table.name, GetProcAddress(library, #name)))                                              \
    missing = #name;
#define TARNWICK_GL_RESOLVE2(ret, name, args)                                                                        \
  if (!missing && !Resolve(table.name, wglProc(#name)))                                                              \
    missing = #name;
  TARNWICK_GL11_FUNCTIONS(TARNWICK_GL_RESOLVE11)
  TARNWICK_GL2_FUNCTIONS(TARNWICK_GL_RESOLVE2)
#undef TARNWICK_GL_RESOLVE11
#undef TARNWICK_GL_RESOLVE2
  if (library)
    FreeLibrary(library);
  if (firstMissing)
    *firstMissing = missing;
  if (missing)
    return false;
#define TARNWICK_GL_TAKE(ret, name, args) ::pfw::gl::name = table.name;
  TARNWICK_GL11_FUNCTIONS(TARNWICK_GL_TAKE)
  TARNWICK_GL2_FUNCTIONS(TARNWICK_GL_TAKE)
#undef TARNWICK_GL_TAKE
  sLoaded = true;
  return true;
}

bool FunctionsLoaded()
{
  return sLoaded;
}

} // namespace pfw::gl
