#pragma once

#include "IControl.h"
#include "IPopupMenu.h"

#include <string>
#include <vector>

#define STB_TEXTEDIT_CHARTYPE char16_t
#define STB_TEXTEDIT_POSITIONTYPE int
#define STB_TEXTEDIT_UNDOSTATECOUNT 99
#define STB_TEXTEDIT_UNDOCHARCOUNT 999
#include <stb_textedit.h>

namespace pfw::gui {

// The single-line text editor the editor draws in its own window when a control asks for
// a typed value. IGui keeps one; it has empty bounds while not editing. Editing itself
// (cursor, selection, undo) is stb_textedit's, over UTF-16 text.
class ITextEntryControl : public IControl
{
public:
  // Pasted text is cut to keep the entry at most this long.
  static constexpr int kMaxLength = 256;

  ITextEntryControl();

  void CreateTextEntry(int paramIdx, const ITextStyle& style, const IRectF& bounds, int length, const char* text);
  void CommitEdit();
  void DismissEdit();
  void CopySelection();
  void CutSelection();
  void Paste();
  void SelectAll();

  void OnMouseDown(float x, float y, const IPointerMods& mods) override;
  void OnMouseUp(float x, float y, const IPointerMods& mods) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IPointerMods& mods) override;
  void OnMouseDblClick(float x, float y, const IPointerMods& mods) override;
  bool OnKeyDown(float x, float y, const IKeyEvent& key) override;
  void Draw(IGui& g) override;
  void OnEndAnimation() override;

  bool IsEditing() const { return mEditing; }
  bool CaretVisible() const { return mCaretVisible; }
  std::string GetText() const;
  const std::u16string& GetWideText() const { return mText; }
  int GetCursor() const { return mState.cursor; }
  int GetSelectionStart() const { return mState.select_start; }
  int GetSelectionEnd() const { return mState.select_end; }
  IPopupMenu& GetContextMenu() { return mContextMenu; }

  // For stb_textedit.
  int Length() const { return static_cast<int>(mText.size()); }
  char16_t CharAt(int i) const { return mText[static_cast<size_t>(i)]; }
  float CharWidth(int i);
  void LayoutRow(StbTexteditRow* row);
  void DeleteChars(int at, int count);
  bool InsertChars(int at, const char16_t* chars, int count);

private:
  struct Snapshot
  {
    int cursor, selectStart, selectEnd;
    std::u16string text;
    bool operator==(const Snapshot& o) const
    {
      return cursor == o.cursor && selectStart == o.selectStart && selectEnd == o.selectEnd && text == o.text;
    }
  };
  Snapshot Take() const { return {mState.cursor, mState.select_start, mState.select_end, mText}; }
  void MarkIfChanged(const Snapshot& before);
  void RestartCaret();
  void Hide();
  // Whether the edited control's parameter accepts the character.
  bool Accepts(char32_t c) const;
  void ComputeWidths();
  float WidthBefore(int index);
  float RowX0();
  float RowYMin() const;
  void OnChosen(IPopupMenu* menu);

  bool mCaretVisible = false;
  bool mEditing = false;
  STB_TexteditState mState;
  std::vector<float> mWidths;
  std::u16string mText;
  // One menu per entry, so its completion never outlives the entry.
  IPopupMenu mContextMenu;
};

} // namespace pfw::gui
