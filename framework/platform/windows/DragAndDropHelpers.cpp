#include "framework/platform/windows/DragAndDropHelpers.h"

#include "framework/platform/windows/DropFilesBlock.h"

#include <new>

namespace pfw::DragAndDropHelpers {

FORMATETC FileDropFormat()
{
  return FORMATETC{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

DataObject::DataObject(const FORMATETC& format, const char* path)
  : mFormat(format)
  , mPath(path ? path : "")
{
}

HRESULT DataObject::Offers(const FORMATETC* format) const
{
  if (!format)
    return E_INVALIDARG;
  if (!(format->tymed & TYMED_HGLOBAL) || !(format->dwAspect & DVASPECT_CONTENT) ||
      format->cfFormat != mFormat.cfFormat)
    return DV_E_FORMATETC;
  return S_OK;
}

HRESULT DataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
  const HRESULT offered = Offers(format);
  if (offered != S_OK)
    return offered;
  if (!medium)
    return E_INVALIDARG;
  HGLOBAL block = MakeDropFilesBlock(mPath.c_str(), false);
  if (!block)
    return E_OUTOFMEMORY;
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = block;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT DataObject::QueryGetData(FORMATETC* format)
{
  return Offers(format);
}

HRESULT DataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out)
{
  if (out)
    out->ptd = nullptr;
  return E_NOTIMPL;
}

HRESULT DataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats)
{
  if (!formats)
    return E_POINTER;
  *formats = nullptr;
  if (direction != DATADIR_GET)
    return E_NOTIMPL;
  *formats = new (std::nothrow) EnumFORMATETC(mFormat);
  return *formats ? S_OK : E_OUTOFMEMORY;
}

HRESULT DropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState)
{
  if (escapePressed)
    return DRAGDROP_S_CANCEL;
  return (keyState & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
}

EnumFORMATETC::EnumFORMATETC(const FORMATETC& format, ULONG cursor)
  : mFormat(format)
  , mCursor(cursor)
{
}

HRESULT EnumFORMATETC::Next(ULONG count, FORMATETC* formats, ULONG* fetched)
{
  if (fetched)
    *fetched = 0;
  // Without a fetched count the caller can only learn of one element.
  if ((!fetched && count != 1) || count == 0 || !formats || mCursor != 0)
    return S_FALSE;
  formats[0] = mFormat;
  if (mFormat.ptd)
  {
    formats[0].ptd = static_cast<DVTARGETDEVICE*>(CoTaskMemAlloc(mFormat.ptd->tdSize));
    if (!formats[0].ptd)
      return E_OUTOFMEMORY;
    CopyMemory(formats[0].ptd, mFormat.ptd, mFormat.ptd->tdSize);
  }
  ++mCursor;
  if (fetched)
    *fetched = 1;
  return count == 1 ? S_OK : S_FALSE;
}

HRESULT EnumFORMATETC::Skip(ULONG count)
{
  const ULONG remaining = 1 - mCursor;
  if (count > remaining)
  {
    mCursor = 1;
    return S_FALSE;
  }
  mCursor += count;
  return S_OK;
}

HRESULT EnumFORMATETC::Reset()
{
  mCursor = 0;
  return S_OK;
}

HRESULT EnumFORMATETC::Clone(IEnumFORMATETC** copy)
{
  if (!copy)
    return E_POINTER;
  *copy = new (std::nothrow) EnumFORMATETC(mFormat, mCursor);
  return *copy ? S_OK : E_OUTOFMEMORY;
}

} // namespace pfw::DragAndDropHelpers
