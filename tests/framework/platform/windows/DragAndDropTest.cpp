// The drag-out COM objects called as OLE calls them, and a real drag under Wine.

#include "ModalFakes.h"

#include "framework/platform/windows/DragAndDropHelpers.h"
#include "framework/platform/windows/FileDragOut.h"
#include "framework/platform/windows/Utf8.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <atomic>
#include <thread>

using namespace pfw;
using namespace pfw::DragAndDropHelpers;

namespace {
const char* const kPath = "C:\\Ger\xC3\xA4t\\\xE6\xB8\xAC\xE8\xA9\xA6 riff.wav"; // Gerät\測試 riff.wav

// The one file a dropped-files block holds, and its non-client flag.
std::string FileOfBlock(HGLOBAL block, BOOL& nonClient)
{
  const auto* header = static_cast<const DROPFILES*>(GlobalLock(block));
  nonClient = header->fNC;
  GlobalUnlock(block);
  HDROP drop = static_cast<HDROP>(block);
  EXPECT_EQ(1u, DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
  wchar_t path[MAX_PATH] = {};
  DragQueryFileW(drop, 0, path, MAX_PATH);
  return WideToUtf8(path);
}
} // namespace

TEST(DragAndDropTest, DataObjectOffersOnlyTheFileBlock)
{
  DataObject* data = new DataObject(FileDropFormat(), kPath);
  const FORMATETC file = FileDropFormat();
  const struct
  {
    CLIPFORMAT format;
    DWORD aspect;
    DWORD tymed;
    HRESULT result;
  } cases[] = {{CF_HDROP, DVASPECT_CONTENT, TYMED_HGLOBAL, S_OK},
               {CF_HDROP, DVASPECT_CONTENT, TYMED_HGLOBAL | TYMED_ISTREAM, S_OK},
               {CF_UNICODETEXT, DVASPECT_CONTENT, TYMED_HGLOBAL, DV_E_FORMATETC},
               {CF_HDROP, DVASPECT_CONTENT, TYMED_ISTREAM, DV_E_FORMATETC},
               {CF_HDROP, DVASPECT_THUMBNAIL, TYMED_HGLOBAL, DV_E_FORMATETC}};
  for (const auto& c : cases)
  {
    FORMATETC asked = {c.format, nullptr, c.aspect, -1, c.tymed};
    EXPECT_EQ(c.result, data->QueryGetData(&asked));
    STGMEDIUM medium = {};
    EXPECT_EQ(c.result, data->GetData(&asked, &medium));
    if (c.result == S_OK)
    {
      EXPECT_EQ(static_cast<DWORD>(TYMED_HGLOBAL), medium.tymed);
      BOOL nonClient = TRUE;
      EXPECT_EQ(kPath, FileOfBlock(medium.hGlobal, nonClient));
      EXPECT_FALSE(nonClient);
      ReleaseStgMedium(&medium);
    }
  }
  EXPECT_EQ(E_INVALIDARG, data->QueryGetData(nullptr));
  STGMEDIUM medium = {};
  EXPECT_EQ(E_INVALIDARG, data->GetData(nullptr, &medium));
  FORMATETC canonical = file;
  canonical.ptd = reinterpret_cast<DVTARGETDEVICE*>(&canonical);
  EXPECT_EQ(E_NOTIMPL, data->GetCanonicalFormatEtc(&canonical, &canonical));
  EXPECT_EQ(nullptr, canonical.ptd);

  EXPECT_EQ(0u, data->Release());
}

TEST(DragAndDropTest, FormatEnumeratorWalksItsOneFormat)
{
  DataObject* data = new DataObject(FileDropFormat(), kPath);
  IEnumFORMATETC* formats = reinterpret_cast<IEnumFORMATETC*>(1);
  EXPECT_EQ(E_NOTIMPL, data->EnumFormatEtc(DATADIR_SET, &formats));
  EXPECT_EQ(nullptr, formats);
  EXPECT_EQ(E_POINTER, data->EnumFormatEtc(DATADIR_GET, nullptr));
  ASSERT_EQ(S_OK, data->EnumFormatEtc(DATADIR_GET, &formats));
  data->Release();

  // The usual call passes no fetched count.
  FORMATETC got[2] = {};
  EXPECT_EQ(S_OK, formats->Next(1, got, nullptr));
  EXPECT_EQ(CF_HDROP, got[0].cfFormat);
  ULONG fetched = 7;
  EXPECT_EQ(S_FALSE, formats->Next(1, got, &fetched));
  EXPECT_EQ(0u, fetched);

  EXPECT_EQ(S_OK, formats->Reset());
  EXPECT_EQ(S_OK, formats->Skip(1));
  EXPECT_EQ(S_FALSE, formats->Next(1, got, &fetched));
  EXPECT_EQ(S_OK, formats->Reset());
  EXPECT_EQ(S_FALSE, formats->Skip(2));
  EXPECT_EQ(S_OK, formats->Reset());
  EXPECT_EQ(S_FALSE, formats->Next(2, got, &fetched)) << "fewer than asked";
  EXPECT_EQ(1u, fetched);
  EXPECT_EQ(S_FALSE, formats->Next(2, got, nullptr));

  IEnumFORMATETC* copy = nullptr;
  EXPECT_EQ(E_POINTER, formats->Clone(nullptr));
  ASSERT_EQ(S_OK, formats->Reset());
  ASSERT_EQ(S_OK, formats->Clone(&copy));
  EXPECT_EQ(S_OK, copy->Next(1, got, &fetched)) << "the clone starts where the original stood";
  void* object = nullptr;
  EXPECT_EQ(S_OK, copy->QueryInterface(IID_IUnknown, &object));
  EXPECT_EQ(1u, copy->Release());
  EXPECT_EQ(0u, copy->Release());
  EXPECT_EQ(0u, formats->Release());
}

TEST(DragAndDropTest, DropSourceFollowsEscapeAndTheLeftButton)
{
  DropSource* source = new DropSource();
  EXPECT_EQ(DRAGDROP_S_CANCEL, source->QueryContinueDrag(TRUE, MK_LBUTTON));
  EXPECT_EQ(S_OK, source->QueryContinueDrag(FALSE, MK_LBUTTON | MK_SHIFT));
  EXPECT_EQ(DRAGDROP_S_DROP, source->QueryContinueDrag(FALSE, MK_RBUTTON));
  EXPECT_EQ(DRAGDROP_S_USEDEFAULTCURSORS, source->GiveFeedback(DROPEFFECT_COPY));
  void* object = nullptr;
  EXPECT_EQ(S_OK, source->QueryInterface(IID_IDropSource, &object));
  EXPECT_EQ(S_OK, source->QueryInterface(IID_IUnknown, &object));
  EXPECT_EQ(E_NOINTERFACE, source->QueryInterface(IID_IDataObject, &object));
  EXPECT_EQ(2u, source->Release());
  EXPECT_EQ(1u, source->Release());
  EXPECT_EQ(0u, source->Release());
}

namespace {
int gUninitializes = 0;
HRESULT gInitializeResult = S_OK;
HRESULT gDragResult = S_OK;
std::string gDraggedFile;

HRESULT FakeDoDragDrop(IDataObject* data, IDropSource* source, DWORD effects, DWORD* effect)
{
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effects);
  EXPECT_EQ(DRAGDROP_S_DROP, source->QueryContinueDrag(FALSE, 0));
  FORMATETC format = FileDropFormat();
  STGMEDIUM medium = {};
  if (data->GetData(&format, &medium) == S_OK)
  {
    BOOL nonClient = TRUE;
    gDraggedFile = FileOfBlock(medium.hGlobal, nonClient);
    ReleaseStgMedium(&medium);
  }
  *effect = DROPEFFECT_COPY;
  return gDragResult;
}
} // namespace

TEST(DragAndDropTest, DragOutBalancesOleAndReportsTheDrag)
{
  ModalFakes fakes;
  Modal().doDragDrop = FakeDoDragDrop;
  Modal().oleInitialize = [] { return gInitializeResult; };
  Modal().oleUninitialize = [] { ++gUninitializes; };
  const struct
  {
    HRESULT initialize;
    HRESULT drag;
    bool result;
    int uninitializes;
  } cases[] = {{S_OK, DRAGDROP_S_DROP, true, 1},
               {S_FALSE, DRAGDROP_S_CANCEL, true, 1},
               {RPC_E_CHANGED_MODE, DRAGDROP_S_DROP, true, 0}, // a host thread in another apartment
               {S_OK, E_UNEXPECTED, false, 1}};
  for (const auto& c : cases)
  {
    gInitializeResult = c.initialize;
    gDragResult = c.drag;
    gUninitializes = 0;
    gDraggedFile.clear();
    EXPECT_EQ(c.result, DragFileOut(kPath));
    EXPECT_EQ(c.uninitializes, gUninitializes);
    EXPECT_EQ(kPath, gDraggedFile);
  }
  gUninitializes = 0;
  EXPECT_FALSE(DragFileOut(""));
  EXPECT_EQ(0, gUninitializes);
}

TEST(DragAndDropTest, RealDragEndsWithoutAButtonHeld)
{
  // With no button down the drag drops at once; should a system wait for the user
  // anyway, Escape ends it after a minute. It goes to the dragging thread's own queue,
  // whichever window of the shared display has the focus.
  std::atomic<bool> done{false};
  const DWORD dragging = GetCurrentThreadId();
  std::thread watchdog([&] {
    for (int waited = 0; waited < 3000 && !done; ++waited)
      Sleep(20);
    if (!done)
      PostThreadMessageW(dragging, WM_KEYDOWN, VK_ESCAPE, 1);
  });
  const bool dragged = DragFileOut(kPath);
  done = true;
  watchdog.join();
  EXPECT_TRUE(dragged);
}
