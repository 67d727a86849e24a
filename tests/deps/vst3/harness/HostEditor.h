#pragma once

// The host's side of a plug-in editor: the window the view is embedded in, the plug frame
// through which the plug-in asks for another size, a component handler that records edit
// gestures and group edits, and the attribute list of a channel context. Each counts its
// references.

#include "HostAbi.h"

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vst3host {

// A top-level window of the given client size that a view is attached to; shown unless
// asked otherwise.
class HostWindow
{
public:
  HostWindow(int width, int height, bool visible = true);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND handle() const { return mWindow; }
  // The first child window: the plug-in's editor once attached.
  HWND editor() const { return FindWindowExW(mWindow, nullptr, nullptr, nullptr); }
  void resize(int width, int height);

  // Told the new client size whenever the window's size changes, as a host's own resize
  // handler is.
  std::function<void(int width, int height)> onResized;

private:
  HWND mWindow = nullptr;
};

// Resizes the host window as the plug-in asks, then tells the view its new size.
class PlugFrame : public IPlugFrame
{
public:
  explicit PlugFrame(HostWindow& window)
    : mWindow(window)
  {
  }
  tresult HOST_CALL queryInterface(const char* iid, void** obj) override;
  uint32_t HOST_CALL addRef() override { return static_cast<uint32_t>(++references); }
  uint32_t HOST_CALL release() override { return static_cast<uint32_t>(--references); }
  tresult HOST_CALL resizeView(IPlugView* view, ViewRect* newSize) override;

  int references = 1;
  std::vector<ViewRect> requests;
  std::vector<IPlugView*> views;

private:
  HostWindow& mWindow;
};

// A host context menu that records what the plug-in adds (each target counted while the
// menu holds it) and where it pops up; at the popup it chooses the item with the tag
// chosenTag, as a user would, when there is one.
class ContextMenu : public IContextMenu
{
public:
  struct Entry
  {
    std::u16string name;
    int32_t tag;
    int32_t flags;
    IContextMenuTarget* target;
  };

  ~ContextMenu();
  tresult HOST_CALL queryInterface(const char* iid, void** obj) override;
  uint32_t HOST_CALL addRef() override { return static_cast<uint32_t>(++references); }
  uint32_t HOST_CALL release() override { return static_cast<uint32_t>(--references); }
  int32_t HOST_CALL getItemCount() override { return static_cast<int32_t>(entries.size()); }
  tresult HOST_CALL addItem(const ContextMenuItem& item, IContextMenuTarget* target) override;
  tresult HOST_CALL popup(int32_t x, int32_t y) override;
  // Not called by the plug-ins under test.
  tresult HOST_CALL getItem(int32_t, ContextMenuItem&, IContextMenuTarget**) override { return kNotImplemented; }
  tresult HOST_CALL removeItem(const ContextMenuItem&, IContextMenuTarget*) override { return kNotImplemented; }

  // Lets go of the entries and their targets.
  void clear();

  int references = 1;
  std::vector<Entry> entries;
  int popups = 0;
  int32_t popupX = -1;
  int32_t popupY = -1;
  int32_t chosenTag = -1;
  tresult chosenResult = kFalse;
};

// A component handler with group edits that records every edit gesture in order. Unless
// told otherwise it also offers host context menus (IComponentHandler3), handing out its
// one menu and recording the view and parameter each was asked for.
class EditingHandler : public IComponentHandler, public IComponentHandler2, public IComponentHandler3
{
public:
  struct Edit
  {
    char kind; // 'b'egin, 'p'erform, 'e'nd
    ParamID id;
    ParamValue value;
  };

  tresult HOST_CALL queryInterface(const char* iid, void** obj) override;
  uint32_t HOST_CALL addRef() override { return static_cast<uint32_t>(++references); }
  uint32_t HOST_CALL release() override { return static_cast<uint32_t>(--references); }
  tresult HOST_CALL beginEdit(ParamID id) override;
  tresult HOST_CALL performEdit(ParamID id, ParamValue valueNormalized) override;
  tresult HOST_CALL endEdit(ParamID id) override;
  tresult HOST_CALL restartComponent(int32_t flags) override;
  tresult HOST_CALL setDirty(uint8_t) override { return kOk; }
  tresult HOST_CALL requestOpenEditor(const char*) override { return kOk; }
  tresult HOST_CALL startGroupEdit() override;
  tresult HOST_CALL finishGroupEdit() override;
  IContextMenu* HOST_CALL createContextMenu(IPlugView* view, const ParamID* paramId) override;

  // Edits are balanced when every begin has its end, each in order, with performs only
  // inside a begin of the same parameter.
  bool editsBalanced() const;
  // Forgets the edits and the menu requests (the menu keeps its entries).
  void clear();

  int references = 1;
  std::vector<Edit> edits;
  int groupStarts = 0;
  int groupEnds = 0;
  bool offersContextMenus = true;
  ContextMenu menu;
  std::vector<std::pair<IPlugView*, int64_t>> menuRequests; // -1: no parameter
};

// An attribute list that holds what the test puts in and records which keys were read.
class AttributeList : public IAttributeList
{
public:
  tresult HOST_CALL queryInterface(const char* iid, void** obj) override;
  uint32_t HOST_CALL addRef() override { return static_cast<uint32_t>(++references); }
  uint32_t HOST_CALL release() override { return static_cast<uint32_t>(--references); }
  tresult HOST_CALL setInt(const char* id, int64_t value) override;
  tresult HOST_CALL getInt(const char* id, int64_t& value) override;
  tresult HOST_CALL setFloat(const char*, double) override { return kFalse; }
  tresult HOST_CALL getFloat(const char*, double&) override { return kFalse; }
  tresult HOST_CALL setString(const char* id, const Utf16* string) override;
  tresult HOST_CALL getString(const char* id, Utf16* string, uint32_t sizeInBytes) override;
  tresult HOST_CALL setBinary(const char*, const void*, uint32_t) override { return kFalse; }
  tresult HOST_CALL getBinary(const char*, const void*&, uint32_t&) override { return kFalse; }

  int references = 1;
  std::map<std::string, int64_t> ints;
  std::map<std::string, std::u16string> strings;
  std::vector<std::string> asked;
};

// Counts of the process's GDI objects and windows. Where the system does not count them
// (GetGuiResources answers 0 under Wine), the GDI objects are counted in the process's
// shared GDI handle table and the USER objects as the windows of the process.
struct GuiHandles
{
  long gdi = 0;
  long user = 0;
};
GuiHandles countGuiHandles();

// The pixels of a window: what its OpenGL drawing left in its back buffer, read through a
// context of our own on the same window (GDI does not see OpenGL drawing here), or, in a
// window without a pixel format, what GDI drew. Rows top-down, RGBA; empty when unreadable.
struct Picture
{
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;
  // r, g, b of pixel (x, y); -1 outside.
  void at(int x, int y, int rgb[3]) const;
  bool writePng(const std::string& path) const;
};
Picture readWindowPicture(HWND window);

// Dispatches this thread's messages until done() holds or the seconds pass.
bool pumpUntil(const std::function<bool()>& done, double seconds);
void pumpQueued();

} // namespace vst3host
