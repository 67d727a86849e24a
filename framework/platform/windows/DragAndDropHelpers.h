#pragma once

#include "framework/platform/windows/ComObject.h"

#include <oleidl.h>

#include <string>

namespace pfw::DragAndDropHelpers {

// The one format of a dragged file: a dropped-files block in global memory.
FORMATETC FileDropFormat();

// Hands out one file as a dropped-files block (CF_HDROP in global memory).
class DataObject : public ComObject<IDataObject>
{
public:
  DataObject(const FORMATETC& format, const char* path);

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
  HRESULT Offers(const FORMATETC* format) const;

  FORMATETC mFormat;
  std::string mPath;
};

// Drops when the left button is released, cancels on Escape; the system's cursors.
class DropSource : public ComObject<IDropSource>
{
public:
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// Enumerates the one format of a data object (a copy of it, so it may outlive the object).
class EnumFORMATETC : public ComObject<IEnumFORMATETC>
{
public:
  explicit EnumFORMATETC(const FORMATETC& format, ULONG cursor = 0);

  HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** copy) override;

private:
  FORMATETC mFormat;
  ULONG mCursor;
};

} // namespace pfw::DragAndDropHelpers
