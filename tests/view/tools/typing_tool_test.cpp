#include "view/tools/typing_tool.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_table.h"
#include "model/platform_services.h"
#include "platform/text_metrics.h"
#include "tool_test_support.h"

namespace {

// Every character half the font's height wide, the cell as high as the font.
class CFixedMetrics : public CTextMetrics {
public:
    CSize TextExtent(const CFontDesc& font, std::string_view text) const override
    {
        return {static_cast<int>(text.size()) * font.height / 2, font.height};
    }
};

class TypingTool : public ::testing::Test {
protected:
    TypingTool()
    {
        PlatformServices().textMetrics = &metrics;
        bench.Run({Command(Cmd::ToolWindowsText)});
    }
    ~TypingTool() override { PlatformServices() = saved; }

    CSheet& Sheet() { return bench.Sheet(); }

    // Keys as the window hands them on: Backspace, Tab, Return and Esc go
    // down as keys and then come as their characters, as a keyboard types
    // them; other bytes are typed characters only.
    void Type(std::string_view keys)
    {
        for (const char c : keys) {
            const auto ch = static_cast<uint8_t>(c);
            if (ch < ' ') {
                const int key = ch == '\b' ? Key::Backspace
                    : ch == '\t'           ? Key::Tab
                    : ch == '\r'           ? Key::Return
                                           : Key::Escape;
                bench.view.KeyDown({key, false, false});
                bench.view.Char(ch);
                bench.view.KeyUp({key, false, false});
            } else {
                bench.view.Char(ch);
            }
        }
    }

    void CtrlKey(int key)
    {
        bench.view.KeyDown({key, true, false});
        bench.view.KeyUp({key, true, false});
    }

    std::vector<std::string> Texts()
    {
        std::vector<std::string> out;
        for (const auto& t : Sheet().texts)
            out.push_back(t->text);
        return out;
    }

    // A text of the sheet at a pixel, 50 pixels high and wide at zoom 100.
    void AddText(std::string text, int px, int py, bool selected = false)
    {
        auto t = std::make_unique<CText>(
            std::move(text), CRect {px * 100, py * 100, 0, 0}, CText::kDefaultAttributes);
        t->SetHeight(50);
        t->SetLayer(1);
        t->Measure();
        t->SetSelected(selected);
        Sheet().texts.Add(std::move(t));
    }

    CPlatformServices saved = PlatformServices();
    CFixedMetrics metrics;
    CViewBench bench;
};

} // namespace

TEST_F(TypingTool, KeysMakeTextsAndTheLineBeingTyped)
{
    const struct {
        const char* keys;
        std::vector<std::string> committed;
        const char* typed; // null: no line is typed
        int linesDown; // text-grid steps below the press
        int step;
    } cases[] = {
        {"ab\bc\r", {"ac"}, "", 1, Step::Typing},
        {"\r", {}, "", 1, Step::Typing}, // an empty line commits nothing
        {" a", {}, "a", 0, Step::Typing}, // a leading space is ignored
        {"a b ", {}, "a b ", 0, Step::Typing}, {"\b\bx", {}, "x", 0, Step::Typing},
        {"een\rtwee\r\x1b", {"een", "twee"}, nullptr, 0, Step::Idle},
        {"een\rtw\x1b", {"een"}, nullptr, 0, Step::Idle}, // Esc drops the line only
        {"\xE9t\xE9", {}, "\xE9t\xE9", 0, Step::Typing}, // bytes of Windows-1252
        {"a\tb\x7F", {}, "ab\x7F", 0, Step::Typing}, // Tab only measures again
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        bench.Run({Command(Cmd::SelectTool)});
        Sheet().texts.RemoveAll();
        bench.Run({Command(Cmd::ToolWindowsText), Click(100, 100)});
        ASSERT_EQ(Sheet().toolStep, Step::Typing);
        Type(c.keys);
        EXPECT_EQ(Texts(), c.committed);
        EXPECT_EQ(Sheet().toolStep, c.step);
        if (!c.typed) {
            EXPECT_EQ(Sheet().editText, nullptr);
            continue;
        }
        ASSERT_NE(Sheet().editText, nullptr);
        EXPECT_EQ(Sheet().editText->text, c.typed);
        // Each line a step of the text grid (1 mm) below the one before.
        EXPECT_EQ(Sheet().editText->Position(), (CPoint {10000, 10000 + 1000 * c.linesDown}));
        EXPECT_EQ(Sheet().cursor, Sheet().editText->Position());
    }
}

TEST_F(TypingTool, ALineStartsInTheDefaultsOnTheActiveLayerAndCommitsAsItIs)
{
    Sheet().activeLayer = 6;
    Sheet().textDefaults = {2, 80, 1, 0, 90};
    bench.Run({Click(100, 100)});
    ASSERT_NE(Sheet().editText, nullptr);
    const CText& line = *Sheet().editText;
    EXPECT_EQ(line.FontNumber(), 2);
    EXPECT_EQ(line.Height(), 80);
    EXPECT_TRUE(line.IsItalic());
    EXPECT_FALSE(line.IsBold());
    EXPECT_EQ(line.Angle(), 90);
    EXPECT_EQ(line.Layer(), 6);
    EXPECT_EQ(bench.ui.pointerPuts.back(), (CPoint {100, 100}));
    // An empty line is one world unit wide and a space high.
    EXPECT_EQ(line.box, (CRect {10000, 10000, 10001, 18000}));

    Type("Ab");
    const uint32_t attributes = Sheet().editText->attributes;
    EXPECT_EQ(Sheet().editText->box.bottom, 18000);
    EXPECT_EQ(bench.Run({Command(Cmd::ToolLines)}).undoSteps, 1);
    ASSERT_EQ(Sheet().texts.GetCount(), 1);
    EXPECT_EQ(Sheet().texts.At(0)->attributes, attributes);
    EXPECT_EQ(Sheet().texts.currentIndex, 0);
    EXPECT_EQ(Sheet().editText, nullptr);
    EXPECT_TRUE(bench.doc.modified);
}

TEST_F(TypingTool, EveryWayOutOfTypingCommitsTheLine)
{
    enum class Then { Nothing, Redo };
    const struct {
        const char* name;
        CViewEvent event;
        int texts; // on the sheet typed on, after the event
        Then then;
    } cases[] = {
        {"tool change", Command(Cmd::SelectTool), 1, Then::Nothing},
        {"sheet switch", Command(Cmd::NextSheet), 1, Then::Nothing},
        {"save or close", Finish(), 1, Then::Nothing},
        {"undo", Command(Cmd::Undo), 0, Then::Redo}, // the line was its own step
    };
    for (const bool empty : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (empty ? ", empty line" : ""));
            CViewBench b;
            b.doc.AddDefaultSheet();
            b.doc.SetActiveSheet(0);
            b.Place(100, 0, 0);
            b.Run({Command(Cmd::ToolWindowsText), Click(100, 100)});
            b.view.Char(empty ? ' ' : 'x');
            CSheet& typedOn = b.Sheet();
            const int undoBefore = typedOn.undoPosition;
            if (empty && c.then == Then::Redo) {
                // An empty line is nothing to take back: Undo waits.
                EXPECT_FALSE(b.view.Update(Cmd::Undo).enabled);
                continue;
            }
            b.Run({c.event});
            EXPECT_EQ(typedOn.texts.GetCount(), empty ? 0 : c.texts);
            EXPECT_EQ(typedOn.editText, nullptr);
            EXPECT_EQ(typedOn.toolStep, Step::Idle);
            if (c.then == Then::Redo && !empty) {
                b.Run({Command(Cmd::Redo)});
                EXPECT_EQ(typedOn.texts.GetCount(), 1);
            }
            if (empty)
                EXPECT_EQ(typedOn.undoPosition, undoBefore);
        }
    }
}

TEST_F(TypingTool, PressesCommitSelectOrStart)
{
    AddText("oud", 300, 300);

    // On free space: a new line; the next press commits it and starts anew.
    bench.Run({Click(100, 100)});
    Type("een");
    EXPECT_EQ(bench.Run({Click(100, 200)}).step, Step::Typing);
    EXPECT_EQ(Texts(), (std::vector<std::string> {"oud", "een"}));
    EXPECT_EQ(Sheet().editText->Position(), (CPoint {10000, 20000}));

    // On a text while typing: the line is committed, and that is all.
    Type("twee");
    EXPECT_EQ(bench.Run({Click(310, 310)}).step, Step::Idle);
    EXPECT_EQ(Texts(), (std::vector<std::string> {"oud", "een", "twee"}));
    EXPECT_EQ(Sheet().editText, nullptr);
    EXPECT_EQ(Sheet().texts.GetSelectedCount(), 0);

    // On a text: it is selected, and the release keeps it so; Esc ends it.
    EXPECT_EQ(bench.Run({Click(310, 310)}).step, Step::Selection);
    EXPECT_TRUE(Sheet().texts.IsSelected(0));
    EXPECT_EQ(Sheet().texts.currentIndex, 0);
    bench.Run({KeyStroke(Key::Escape)});
    EXPECT_EQ(Sheet().toolStep, Step::Idle);
    EXPECT_EQ(Sheet().texts.GetSelectedCount(), 0);

    // On free space with a text selected: deselected, and a line starts.
    bench.Run({Click(310, 310)});
    EXPECT_EQ(bench.Run({Click(10, 10)}).step, Step::Typing);
    EXPECT_EQ(Sheet().texts.GetSelectedCount(), 0);
}

TEST_F(TypingTool, BoldAndItalicOnSelectedTextsOrTheTypedLine)
{
    AddText("a", 100, 100, true);
    AddText("b", 200, 100, true);
    AddText("c", 300, 100, true);
    Sheet().texts.At(1)->SetBold(true);
    Sheet().layers.SetVisible(1, 1);
    EXPECT_EQ(bench.view.Update(Cmd::Bold), (CCommandState {true, false}));

    // One lacks it: all take it, in one step; then all lose it.
    const int undo = Sheet().undoPosition;
    CtrlKey('B');
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Sheet().texts.At(i)->IsBold()) << i;
    EXPECT_EQ(Sheet().undoPosition, undo + 1);
    EXPECT_EQ(bench.view.Update(Cmd::Bold), (CCommandState {true, true}));
    bench.view.Execute(Cmd::Bold);
    EXPECT_FALSE(Sheet().texts.At(2)->IsBold());
    bench.view.Execute(Cmd::Italic);
    EXPECT_TRUE(Sheet().texts.At(0)->IsItalic());

    // While typing only the line changes, without an undo step, and the
    // lines after it keep the style.
    bench.Run({Click(10, 300)});
    const int typingUndo = Sheet().undoPosition;
    EXPECT_EQ(bench.view.Update(Cmd::Bold), (CCommandState {true, false}));
    CtrlKey('B');
    EXPECT_TRUE(Sheet().editText->IsBold());
    EXPECT_EQ(bench.view.Update(Cmd::Bold), (CCommandState {true, true}));
    EXPECT_EQ(Sheet().undoPosition, typingUndo);
    Type("x\r");
    EXPECT_TRUE(Sheet().editText->IsBold());

    // Nothing to act on: disabled.
    bench.Run({KeyStroke(Key::Escape)});
    EXPECT_EQ(bench.view.Update(Cmd::Bold), (CCommandState {false, false}));
    EXPECT_EQ(bench.view.Update(Cmd::EditText), (CCommandState {false, false}));
}

TEST_F(TypingTool, EditTextOnSeveralTextsKeepsTheirStrings)
{
    AddText("a", 100, 100, true);
    AddText("b", 200, 100, true);
    AddText("c", 300, 100, true);
    std::vector<std::string> entries;
    bench.dialogs.editText = [&](CEditTextValues& v, const std::vector<std::string>& fonts) {
        EXPECT_EQ(v.text, "MEERDERE TEKSTEN GESELECTEERD!");
        entries = fonts;
        v.height = "5000"; // the height stops at 1023
        v.layer = "7";
        v.angle = "-90";
        v.fontNumber = 3;
        v.bold = true;
        return true;
    };
    const int undo = Sheet().undoPosition;
    bench.view.Execute(Cmd::EditText);
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(entries[0], "1. Arial");
    EXPECT_EQ(Texts(), (std::vector<std::string> {"a", "b", "c"}));
    for (int i = 0; i < 3; ++i) {
        const CText& t = *Sheet().texts.At(i);
        EXPECT_EQ(t.Height(), 1023);
        EXPECT_EQ(t.Layer(), 7);
        EXPECT_EQ(t.Angle(), 270);
        EXPECT_EQ(t.FontNumber(), 3);
        EXPECT_TRUE(t.IsBold());
        EXPECT_EQ(t.box.bottom - t.box.top, 102300); // measured anew
    }
    EXPECT_EQ(Sheet().undoPosition, undo + 1);

    // One selected text takes the string; an empty "Tekst" changes nothing.
    Sheet().texts.SetSelected(0, false);
    Sheet().texts.SetSelected(1, false);
    bench.dialogs.editText = [](CEditTextValues& v, const std::vector<std::string>&) {
        EXPECT_EQ(v.text, "c");
        EXPECT_EQ(v.height, "1023");
        v.text = "nieuw";
        return true;
    };
    bench.view.Execute(Cmd::EditText);
    EXPECT_EQ(Texts(), (std::vector<std::string> {"a", "b", "nieuw"}));
    EXPECT_EQ(Sheet().texts.currentIndex, 2);
    bench.dialogs.editText = [](CEditTextValues& v, const std::vector<std::string>&) {
        v.text.clear();
        v.height = "10";
        return true;
    };
    bench.view.Execute(Cmd::EditText);
    EXPECT_EQ(Sheet().texts.At(2)->Height(), 1023);
}

TEST_F(TypingTool, EditTextWhileTypingSetsTheDefaultsAndTheActiveLayer)
{
    bench.Run({Click(100, 100)});
    Type("ab");
    const int undo = Sheet().undoPosition;
    bench.dialogs.editText = [](CEditTextValues& v, const std::vector<std::string>&) {
        EXPECT_EQ(v.text, "ab");
        v.text = "xyz";
        v.height = "30mm"; // leading digits
        v.layer = "99"; // within 1 ... 15
        v.italic = true;
        return true;
    };
    bench.view.Execute(Cmd::EditText);
    ASSERT_NE(Sheet().editText, nullptr);
    EXPECT_EQ(Sheet().editText->text, "xyz");
    EXPECT_EQ(Sheet().editText->Height(), 30);
    EXPECT_EQ(Sheet().editText->Layer(), 15);
    EXPECT_EQ(Sheet().activeLayer, 15);
    EXPECT_EQ(Sheet().textDefaults.height, 30);
    EXPECT_EQ(Sheet().textDefaults.italic, 1);
    EXPECT_EQ(Sheet().undoPosition, undo);
    Type("\r");
    EXPECT_EQ(Texts(), (std::vector<std::string> {"xyz"}));
    EXPECT_EQ(Sheet().editText->Height(), 30);
    EXPECT_EQ(Sheet().editText->Layer(), 15);
}

TEST_F(TypingTool, TheTypedLineMovesToAnotherLayer)
{
    EXPECT_FALSE(bench.view.Update(Cmd::TypedTextLayer).enabled);
    bench.Run({Click(100, 100)});
    Sheet().layers.SetVisible(9, 0);
    int offered = 0;
    bench.dialogs.layer = [&](const CLayerArray&, int layer) {
        offered = layer;
        return std::optional<int>(9);
    };
    CtrlKey('L');
    EXPECT_EQ(offered, 1);
    EXPECT_EQ(Sheet().editText->Layer(), 9);
    EXPECT_EQ(Sheet().activeLayer, 9);
    EXPECT_EQ(Sheet().layers.IsVisible(9), 1);
    EXPECT_EQ(bench.doc.layerListSelection, 8);
}

TEST_F(TypingTool, TheListsPicksGoToTheDefaultsAndTheLineOrTheSelection)
{
    AddText("a", 100, 100, true);
    const int undo = Sheet().undoPosition;
    bench.view.PickTextHeight(20);
    bench.view.PickFont(4);
    EXPECT_EQ(Sheet().texts.At(0)->Height(), 20);
    EXPECT_EQ(Sheet().texts.At(0)->FontNumber(), 4);
    EXPECT_EQ(Sheet().undoPosition, undo + 2);
    EXPECT_EQ(bench.ui.focusTaken, 2);

    bench.Run({Click(10, 300)});
    EXPECT_EQ(Sheet().editText->Height(), 20);
    bench.view.PickTextHeight(35);
    bench.view.PickFont(9); // no such font
    EXPECT_EQ(Sheet().editText->Height(), 35);
    EXPECT_EQ(Sheet().editText->FontNumber(), 4);
    EXPECT_EQ(Sheet().textDefaults.height, 35);
    EXPECT_EQ(Sheet().editText->box.bottom - Sheet().editText->box.top, 3500);
}

TEST_F(TypingTool, TheLineAndTheCaretAreFeedbackRecomposedWithoutACompleteDraw)
{
    Sheet().layerColours[1] = 0x123456;
    bench.Run({Click(100, 100)});
    const int draws = bench.ui.invalidated;
    const int composed = bench.ui.recomposed;
    Type("ab\b");
    bench.view.Timer(CViewController::kWorkTimer);
    EXPECT_EQ(bench.ui.invalidated, draws);
    EXPECT_EQ(bench.ui.recomposed, composed + 4);

    // The sheet image leaves the line out; the screen shows it and the
    // caret right of it: 500 / zoom + 1 lines of one pixel from its top to
    // its bottom.
    CRecordingCanvas sheet;
    bench.view.DrawOffscreen(sheet);
    for (const std::string& call : sheet.calls)
        EXPECT_NE(call.rfind("text ", 0), 0u) << call;
    CRecordingCanvas screen;
    bench.view.Timer(CViewController::kWorkTimer); // the caret shows again
    bench.view.DrawOverlays(screen);
    const std::vector<std::string> expected = {"background transparent", "textcolour 0x123456",
        "text 100 100 Arial/50/400/0/0 a", "pen 1 0x123456 solid", "move 126 100", "line 126 150",
        "move 127 100", "line 127 150", "move 128 100", "line 128 150", "move 129 100",
        "line 129 150", "move 130 100", "line 130 150", "move 131 100", "line 131 150"};
    std::vector<std::string> drawn(screen.calls.begin(), screen.calls.end());
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(bench.view.CaretRect(), (CRect {126, 100, 132, 150}));

    // Blinked off: the line without the caret.
    bench.view.Timer(CViewController::kWorkTimer);
    CRecordingCanvas blinked;
    bench.view.DrawOverlays(blinked);
    EXPECT_EQ(blinked.calls.size(), 3u);
}
