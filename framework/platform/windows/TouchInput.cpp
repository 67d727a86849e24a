#include "TouchInput.h"

namespace pfw::gui {

TouchEvents SortTouchInputs(const TOUCHINPUT* inputs, size_t count, POINT clientOrigin, float scale,
                            std::unordered_map<int64_t, IPointerEvent>& touches)
{
  TouchEvents events;
  for (size_t i = 0; i < count; ++i)
  {
    const TOUCHINPUT& input = inputs[i];
    IPointerEvent event;
    event.x = static_cast<float>(input.x / 100 - clientOrigin.x) / scale;
    event.y = static_cast<float>(input.y / 100 - clientOrigin.y) / scale;
    event.mods.touchId = static_cast<int64_t>(input.dwID);
    if (input.dwMask & TOUCHINPUTMASKF_CONTACTAREA)
      event.mods.touchRadius = static_cast<float>(input.cxContact);

    if (input.dwFlags & TOUCHEVENTF_DOWN)
    {
      touches[event.mods.touchId] = event;
      events.down.push_back(event);
    }
    else if (input.dwFlags & TOUCHEVENTF_UP)
    {
      touches.erase(event.mods.touchId);
      events.up.push_back(event);
    }
    else if (input.dwFlags & TOUCHEVENTF_MOVE)
    {
      const auto known = touches.find(event.mods.touchId);
      if (known != touches.end())
      {
        event.dX = event.x - known->second.x;
        event.dY = event.y - known->second.y;
      }
      touches[event.mods.touchId] = event;
      events.moved.push_back(event);
    }
  }
  return events;
}

} // namespace pfw::gui
