#pragma once

namespace pfw {
class IGuiEditorDelegate;
}

class TarnwickProduct;

namespace editor {

// Gives the plug-in object its editor: the layout, and on Windows the editor window's
// graphics (1180 by 800 units at 30 frames per second, resources from the module that
// holds this code: the plug-in library or the program).
void InstallEditor(pfw::IGuiEditorDelegate& delegate, TarnwickProduct& product);

} // namespace editor
