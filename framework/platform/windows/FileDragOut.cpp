#include "framework/platform/windows/FileDragOut.h"

#include "framework/platform/windows/DragAndDropHelpers.h"
#include "framework/platform/windows/ModalCalls.h"

#include <new>

namespace pfw {

bool DragFileOut(const char* path)
{
  if (!path || !*path)
    return false;
  ScopedOleInitialize ole;
  auto* data = new (std::nothrow) DragAndDropHelpers::DataObject(DragAndDropHelpers::FileDropFormat(), path);
  auto* source = new (std::nothrow) DragAndDropHelpers::DropSource();
  HRESULT result = E_OUTOFMEMORY;
  DWORD effect = DROPEFFECT_NONE;
  if (data && source)
    result = Modal().doDragDrop(data, source, DROPEFFECT_COPY, &effect);
  if (data)
    data->Release();
  if (source)
    source->Release();
  return SUCCEEDED(result);
}

} // namespace pfw
