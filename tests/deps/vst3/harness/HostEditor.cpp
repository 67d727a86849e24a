#include "HostEditor.h"

#include <GL/gl.h>
#include <winternl.h>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace vst3host {

namespace {

const wchar_t* kHostWindowClass = L"Vst3HarnessHostWindow";

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_SIZE)
    if (auto* host = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA)); host && host->onResized)
      host->onResized(LOWORD(lParam), HIWORD(lParam));
  return DefWindowProcW(window, message, wParam, lParam);
}

// One entry of the process's shared GDI handle table, as the system lays it out.
struct GdiHandleEntry
{
  uint64_t object;
  uint32_t owner;
  uint16_t unique;
  uint8_t type;
  uint8_t flags;
  uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr int kGdiHandleEntries = 0x10000;
constexpr size_t kPebGdiSharedHandleTable = 0xF8;

long countGdiTable()
{
  using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QueryProcess>(
    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0)
    return 0;
  const char* peb = reinterpret_cast<const char*>(basic.PebBaseAddress);
  const GdiHandleEntry* table = *reinterpret_cast<GdiHandleEntry* const*>(peb + kPebGdiSharedHandleTable);
  if (!table)
    return 0;
  long count = 0;
  for (int i = 0; i < kGdiHandleEntries; ++i)
    count += table[i].type != 0;
  return count;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM counter)
{
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId())
  {
    ++*reinterpret_cast<long*>(counter);
    EnumChildWindows(window, CountWindow, counter);
  }
  return TRUE;
}

} // namespace

HostWindow::HostWindow(int width, int height, bool visible)
{
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = HostWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kHostWindowClass;
  RegisterClassW(&windowClass); // fails harmlessly once registered
  mWindow = CreateWindowExW(0, kHostWindowClass, L"Harness host", WS_POPUP | WS_CLIPCHILDREN | (visible ? WS_VISIBLE : 0), 0, 0,
                            width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
  SetWindowLongPtrW(mWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HostWindow::~HostWindow()
{
  onResized = nullptr;
  if (mWindow)
    DestroyWindow(mWindow);
}

void HostWindow::resize(int width, int height)
{
  SetWindowPos(mWindow, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

tresult HOST_CALL PlugFrame::queryInterface(const char* iid, void** obj)
{
  if (sameIid(iid, iids::FUnknown) || sameIid(iid, iids::PlugFrame))
  {
    addRef();
    *obj = static_cast<IPlugFrame*>(this);
    return kOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

tresult HOST_CALL PlugFrame::resizeView(IPlugView* view, ViewRect* newSize)
{
  if (!view || !newSize)
    return kInvalidArgument;
  requests.push_back(*newSize);
  views.push_back(view);
  mWindow.resize(newSize->right - newSize->left, newSize->bottom - newSize->top);
  ViewRect size = *newSize;
  return view->onSize(&size);
}

IContextMenu* HOST_CALL EditingHandler::createContextMenu(IPlugView* view, const ParamID* paramId)
{
  menuRequests.emplace_back(view, paramId ? static_cast<int64_t>(*paramId) : -1);
  menu.addRef();
  return &menu;
}

ContextMenu::~ContextMenu()
{
  clear();
}

tresult HOST_CALL ContextMenu::queryInterface(const char* iid, void** obj)
{
  if (!sameIid(iid, iids::FUnknown) && !sameIid(iid, iids::ContextMenu))
  {
    *obj = nullptr;
    return kNoInterface;
  }
  *obj = static_cast<IContextMenu*>(this);
  addRef();
  return kOk;
}

tresult HOST_CALL ContextMenu::addItem(const ContextMenuItem& item, IContextMenuTarget* target)
{
  if (target)
    target->addRef();
  entries.push_back({std::u16string(item.name), item.tag, item.flags, target});
  return kOk;
}

tresult HOST_CALL ContextMenu::popup(int32_t x, int32_t y)
{
  ++popups;
  popupX = x;
  popupY = y;
  for (const Entry& entry : entries)
    if (entry.tag == chosenTag && entry.target)
      chosenResult = entry.target->executeMenuItem(entry.tag);
  return kOk;
}

void ContextMenu::clear()
{
  for (const Entry& entry : entries)
    if (entry.target)
      entry.target->release();
  entries.clear();
}

tresult HOST_CALL EditingHandler::queryInterface(const char* iid, void** obj)
{
  if (sameIid(iid, iids::FUnknown) || sameIid(iid, iids::ComponentHandler))
    *obj = static_cast<IComponentHandler*>(this);
  else if (sameIid(iid, iids::ComponentHandler2))
    *obj = static_cast<IComponentHandler2*>(this);
  else if (offersContextMenus && sameIid(iid, iids::ComponentHandler3))
    *obj = static_cast<IComponentHandler3*>(this);
  else
  {
    *obj = nullptr;
    return kNoInterface;
  }
  addRef();
  return kOk;
}

tresult HOST_CALL EditingHandler::beginEdit(ParamID id)
{
  edits.push_back({'b', id, 0.0});
  return kOk;
}

tresult HOST_CALL EditingHandler::performEdit(ParamID id, ParamValue valueNormalized)
{
  edits.push_back({'p', id, valueNormalized});
  return kOk;
}

tresult HOST_CALL EditingHandler::endEdit(ParamID id)
{
  edits.push_back({'e', id, 0.0});
  return kOk;
}

tresult HOST_CALL EditingHandler::restartComponent(int32_t)
{
  return kOk;
}

tresult HOST_CALL EditingHandler::startGroupEdit()
{
  ++groupStarts;
  return kOk;
}

tresult HOST_CALL EditingHandler::finishGroupEdit()
{
  ++groupEnds;
  return kOk;
}

bool EditingHandler::editsBalanced() const
{
  std::vector<ParamID> open;
  for (const Edit& edit : edits)
  {
    const auto found = std::find(open.begin(), open.end(), edit.id);
    if (edit.kind == 'b')
    {
      if (found != open.end())
        return false;
      open.push_back(edit.id);
    }
    else if (found == open.end())
      return false;
    else if (edit.kind == 'e')
      open.erase(found);
  }
  return open.empty();
}

void EditingHandler::clear()
{
  edits.clear();
  groupStarts = groupEnds = 0;
  menuRequests.clear();
}

tresult HOST_CALL AttributeList::queryInterface(const char* iid, void** obj)
{
  if (sameIid(iid, iids::FUnknown) || sameIid(iid, iids::AttributeList))
  {
    addRef();
    *obj = static_cast<IAttributeList*>(this);
    return kOk;
  }
  *obj = nullptr;
  return kNoInterface;
}

tresult HOST_CALL AttributeList::setInt(const char* id, int64_t value)
{
  ints[id] = value;
  return kOk;
}

tresult HOST_CALL AttributeList::getInt(const char* id, int64_t& value)
{
  asked.push_back(id);
  const auto found = ints.find(id);
  if (found == ints.end())
    return kFalse;
  value = found->second;
  return kOk;
}

tresult HOST_CALL AttributeList::setString(const char* id, const Utf16* string)
{
  strings[id] = string;
  return kOk;
}

tresult HOST_CALL AttributeList::getString(const char* id, Utf16* string, uint32_t sizeInBytes)
{
  asked.push_back(id);
  const auto found = strings.find(id);
  if (found == strings.end() || sizeInBytes < sizeof(Utf16))
    return kFalse;
  const size_t units = std::min<size_t>(found->second.size(), sizeInBytes / sizeof(Utf16) - 1);
  std::memcpy(string, found->second.data(), units * sizeof(Utf16));
  string[units] = 0;
  return kOk;
}

GuiHandles countGuiHandles()
{
  GuiHandles handles;
  handles.gdi = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  handles.user = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  if (handles.gdi == 0)
    handles.gdi = countGdiTable();
  if (handles.user == 0)
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&handles.user));
  return handles;
}

void Picture::at(int x, int y, int rgb[3]) const
{
  const bool inside = x >= 0 && y >= 0 && x < width && y < height;
  const unsigned char* p = inside ? &rgba[(static_cast<size_t>(y) * width + x) * 4] : nullptr;
  for (int c = 0; c < 3; ++c)
    rgb[c] = p ? p[c] : -1;
}

bool Picture::writePng(const std::string& path) const
{
  return width > 0 && stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) != 0;
}

namespace {

// What GDI drew in the window: an editor under Wine copies its frames in that way.
void readWindowThroughGdi(HDC dc, Picture& picture)
{
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory && bitmap && bits)
  {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, picture.width, picture.height, dc, 0, 0, SRCCOPY))
    {
      GdiFlush();
      const unsigned char* bgra = static_cast<const unsigned char*>(bits);
      picture.rgba.resize(static_cast<size_t>(picture.width) * picture.height * 4);
      for (size_t i = 0; i < picture.rgba.size(); i += 4)
      {
        picture.rgba[i] = bgra[i + 2];
        picture.rgba[i + 1] = bgra[i + 1];
        picture.rgba[i + 2] = bgra[i];
        picture.rgba[i + 3] = 255;
      }
    }
    SelectObject(memory, previous);
  }
  if (bitmap)
    DeleteObject(bitmap);
  if (memory)
    DeleteDC(memory);
  if (picture.rgba.empty())
    picture = Picture();
}

// The window's GL back buffer, through a context of our own.
void readWindowThroughGl(HDC dc, Picture& picture)
{
  HGLRC context = wglCreateContext(dc);
  HDC previousDc = wglGetCurrentDC();
  HGLRC previous = wglGetCurrentContext();
  if (context && wglMakeCurrent(dc, context))
  {
    std::vector<unsigned char> bottomUp(static_cast<size_t>(picture.width) * picture.height * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, picture.width, picture.height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    picture.rgba.resize(bottomUp.size());
    const size_t row = static_cast<size_t>(picture.width) * 4;
    for (int y = 0; y < picture.height; ++y)
      std::memcpy(&picture.rgba[y * row], &bottomUp[(picture.height - 1 - y) * row], row);
  }
  else
    picture = Picture();
  wglMakeCurrent(previousDc, previous);
  if (context)
    wglDeleteContext(context);
}

} // namespace

Picture readWindowPicture(HWND window)
{
  Picture picture;
  RECT client{};
  if (!window || !GetClientRect(window, &client))
    return picture;
  picture.width = client.right;
  picture.height = client.bottom;
  HDC dc = GetDC(window);
  // A window GL draws in has a pixel format.
  if (GetPixelFormat(dc))
    readWindowThroughGl(dc, picture);
  else
    readWindowThroughGdi(dc, picture);
  ReleaseDC(window, dc);
  return picture;
}

bool pumpUntil(const std::function<bool()>& done, double seconds)
{
  // The performance counter's clock: the tick count may stand still under Wine.
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end =
    Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  while (!done())
  {
    if (Clock::now() > end)
      return false;
    // A tenth of a second of messages between looks.
    const Clock::time_point look = Clock::now() + std::chrono::milliseconds(100);
    while (Clock::now() < look)
    {
      pumpQueued();
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }
  return true;
}

void pumpQueued()
{
  // A few messages at most: an editor whose frames take longer than its frame timer
  // always has the next tick waiting.
  MSG message;
  for (int i = 0; i < 16 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i)
  {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

} // namespace vst3host
