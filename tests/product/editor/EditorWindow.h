#pragma once

#include "TarnwickTestSupport.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace pfw::gui {
class IGuiWin;
}

// The plug-in object's real editor (the window layer, the OpenGL renderer, the layout)
// open in a visible top-level window on the test display, driven through its window
// procedure, with what it shows read back from the renderer's frame.
class EditorWindow
{
public:
  struct Image
  {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba; // rows top-down

    // The pixel under user-interface point (x, y) at total scale s: r, g, b.
    void At(float x, float y, float s, int rgb[3]) const;
    // Writes the image under the test's picture folder; returns the path.
    std::string WritePng(const std::string& name) const;
  };

  EditorWindow();
  ~EditorWindow();

  // False, with the reason in Error(), when the editor could not be opened.
  bool Open();
  const std::string& Error() const { return mError; }
  Tarnwick& Plugin() { return *mPlugin; }
  pfw::gui::IGuiWin& Gui() { return *mGui; }

  // A left click at user-interface coordinates, through the window procedure.
  void Click(float x, float y);
  // One frame: every control polls, then the whole window is painted.
  void Frame();
  Image Capture();

private:
  std::unique_ptr<Tarnwick> mPlugin;
  HWND mParent = nullptr;
  HWND mChild = nullptr;
  pfw::gui::IGuiWin* mGui = nullptr;
  std::string mError;
};
