#pragma once

#include <windows.h>

namespace pfw::gui {

// Whether the back buffer of the window behind dc still holds what was drawn into it after
// SwapBuffers, so that a frame need only redraw what changed. The pixel format says so
// when it knows (a copy keeps it, an exchange does not); when it leaves it undefined, two
// frames of different colours are swapped and the back buffer is read. Needs the window's
// GL context current with the renderer's GL functions loaded and the window's own
// framebuffer bound; leaves the back buffer cleared to black.
bool SwapKeepsBackBuffer(HDC dc);

} // namespace pfw::gui
