#pragma once

#include <optional>

#include "platform/types.h"
#include "view/tools/tool_machine.h"

class CSheet;

// "Windows teksten" (8245): a line of text typed in place in a system font.
// The line being typed is the sheet's editText, at the end of which the
// caret stands; it and the caret are drawn on the screen image only, so a
// keystroke or a blink recomposes the screen and never draws the sheet.
//
//   0    press on a text: it is selected, 200; elsewhere: a line starts at
//        the cursor, 220
//   200  as 0; the release keeps the selection, Esc ends it (0)
//   220  characters go into the line, Backspace takes the last one back;
//        Enter commits the line and starts the next one a step of the text
//        grid lower; Esc drops the line (0); a press commits it and starts
//        a line where it is, or on a text ends at 0
//
// Finish commits the line (one undo step; an empty line adds nothing) and
// ends at 0: whatever changes the sheet under the tool ends typing first.
class CTypingTool : public CToolMachine {
public:
    void Press(CToolContext& ctx) override;
    void Release(CToolContext& ctx) override;
    bool KeyDown(CToolContext& ctx, const CKeyEvent& key) override;
    bool Char(CToolContext& ctx, uint8_t ch) override;
    void Tick(CToolContext& ctx) override;
    void DrawFeedback(CToolContext& ctx, CCanvas& screen) override;
    void Finish(CToolContext& ctx) override;
};

// Whether a line is being typed on the sheet.
bool IsTyping(const CSheet& s);
// Whether the line being typed holds characters: ending the typing adds a
// text, so Undo has something to take back.
bool HasTypedText(const CSheet& s);
// Whether the text commands have something to act on: the line being
// typed, or a selected text.
bool HasTextsToChange(const CSheet& s);

enum class TextStyle { Bold, Italic };
// "Vet" and "Schuin": ticked for the line being typed when it has the style,
// otherwise when every selected text has it.
bool TextStyleTicked(const CSheet& s, TextStyle style);
// Toggles the style of the line being typed (and of the lines after it), or
// of the selected texts: all of them take it when any one lacks it, else
// all lose it; one undo step.
void ToggleTextStyle(CToolContext& ctx, TextStyle style);

// "Bewerk tekst": the line being typed, or the selected texts (the strings
// only when one is selected); one undo step for selected texts.
void EditTexts(CToolContext& ctx);

// "Verplaats de tekst naar een andere laag": the line being typed and the
// active layer take the layer chosen, which is shown.
void MoveTypedLineToLayer(CToolContext& ctx);

// The font and the size lists: the next lines take the font number or the
// height, and so does the line being typed or, when none is, the selected
// texts (one undo step).
void SetTextFont(CToolContext& ctx, int fontNumber);
void SetTextHeight(CToolContext& ctx, int height);

// The caret of the line being typed, in pixels of the view; none when no
// line is typed.
std::optional<CRect> CaretRect(const CSheet& s);
