#pragma once

#include <windows.h>
#include <commdlg.h>
#include <ole2.h>
#include <shlobj.h>

namespace pfw {

// The Windows calls of the native prompts that open something modal or leave the process
// (menus, message boxes, dialogs, drag and drop, the shell's opener), and the OLE set-up
// around them, as pointers that default to the real calls. Tests put fakes in their place
// so that nothing waits for a user.
struct ModalCalls
{
  BOOL (*trackPopupMenu)(HMENU menu, UINT flags, int x, int y, HWND owner);
  int (*messageBox)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
  HINSTANCE (*shellExecute)(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                            const wchar_t* directory, int show);
  BOOL (*getOpenFileName)(OPENFILENAMEW* dialog);
  BOOL (*getSaveFileName)(OPENFILENAMEW* dialog);
  PIDLIST_ABSOLUTE (*browseForFolder)(BROWSEINFOW* dialog);
  BOOL (*chooseColor)(CHOOSECOLORW* dialog);
  HRESULT (*doDragDrop)(IDataObject* data, IDropSource* source, DWORD effects, DWORD* effect);
  HRESULT (*oleInitialize)();
  void (*oleUninitialize)();
};

// The process's calls: the real ones unless a test replaced some.
ModalCalls& Modal();
const ModalCalls& RealModalCalls();

// OLE for the length of a scope. It is undone only when it was done here: a thread
// already in another COM apartment (some hosts' threads) keeps its set-up.
class ScopedOleInitialize
{
public:
  ScopedOleInitialize();
  ~ScopedOleInitialize();
  ScopedOleInitialize(const ScopedOleInitialize&) = delete;
  ScopedOleInitialize& operator=(const ScopedOleInitialize&) = delete;

private:
  bool mInitialized;
};

} // namespace pfw
