#include "framework/platform/windows/ModalCalls.h"

#include <shellapi.h>

namespace pfw {

namespace {
BOOL RealTrackPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner)
{
  return TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr);
}

HRESULT RealOleInitialize()
{
  return OleInitialize(nullptr);
}
} // namespace

const ModalCalls& RealModalCalls()
{
  static const ModalCalls calls = {RealTrackPopupMenu, MessageBoxW,  ShellExecuteW,  GetOpenFileNameW,
                                   GetSaveFileNameW,   SHBrowseForFolderW, ChooseColorW, DoDragDrop,
                                   RealOleInitialize,  OleUninitialize};
  return calls;
}

ModalCalls& Modal()
{
  static ModalCalls calls = RealModalCalls();
  return calls;
}

ScopedOleInitialize::ScopedOleInitialize()
  : mInitialized(SUCCEEDED(Modal().oleInitialize()))
{
}

ScopedOleInitialize::~ScopedOleInitialize()
{
  if (mInitialized)
    Modal().oleUninitialize();
}

} // namespace pfw
