#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/types.h"
#include "platform/ui_services.h"
#include "support/recording_canvas.h"
#include "support/scripted_clipboard.h"

// A user interface for tests: records what the program shows and answers
// message boxes from a script (Ok when the script is empty). The view's
// screen image is a recording canvas.
class CScriptedUi : public CUiServices {
public:
    std::vector<std::string> messages;
    std::deque<Answer> answers;
    std::vector<std::string> status = std::vector<std::string>(9);
    int invalidated = 0;
    int recomposed = 0;

    CRecordingCanvas screen;
    std::vector<CRect> restored; // every RestoreScreen
    bool hasScreen = true;
    PointerShape pointerShape = PointerShape::CrossHair;
    std::vector<CPoint> pointerPuts; // every request, granted or not
    bool refusePointer = false;
    int focusTaken = 0;
    int documentChanges = 0;
    CScrollBarState horizontal;
    CScrollBarState vertical;
    CScriptedClipboard clipboard;
    // Every popup menu with where it opened; the ids to choose, 0 (none)
    // when the script is empty.
    std::vector<std::vector<CPopupItem>> popups;
    std::vector<CPoint> popupsAt;
    std::deque<int> popupChoices;
    std::function<void()> whilePopupOpen; // what happens while a popup is open

    Answer MessageBox(std::string_view text, Buttons, Icon) override
    {
        messages.emplace_back(text);
        if (answers.empty())
            return Answer::Ok;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void SetStatusText(int pane, std::string_view text) override
    {
        if (pane >= 0 && pane < static_cast<int>(status.size()))
            status[pane] = std::string(text);
    }
    void Invalidate() override { ++invalidated; }
    void Recompose() override { ++recomposed; }
    CCanvas* ScreenCanvas() override { return hasScreen ? &screen : nullptr; }
    // The restored screen holds nothing drawn on it before in the part given
    // (here: anywhere).
    CCanvas* RestoreScreen(const CRect& pixels) override
    {
        if (!hasScreen)
            return nullptr;
        restored.push_back(pixels);
        screen.calls.clear();
        return &screen;
    }
    void SetPointerShape(PointerShape shape) override { pointerShape = shape; }
    bool PutPointer(int x, int y) override
    {
        pointerPuts.push_back({x, y});
        return !refusePointer;
    }
    int PopupMenu(const std::vector<CPopupItem>& items, CPoint at) override
    {
        popups.push_back(items);
        popupsAt.push_back(at);
        if (whilePopupOpen)
            whilePopupOpen();
        if (popupChoices.empty())
            return 0;
        const int id = popupChoices.front();
        popupChoices.pop_front();
        return id;
    }
    void TakeFocus() override { ++focusTaken; }
    void DocumentChanged() override { ++documentChanges; }
    CClipboard* Clipboard() override { return &clipboard; }
    void SetScrollBars(const CScrollBarState& h, const CScrollBarState& v) override
    {
        horizontal = h;
        vertical = v;
    }
};

// A clock for tests: the time is set by hand, timers are only listed.
class CScriptedClock : public CClock {
public:
    uint32_t now = 0;
    std::map<int, int> running; // timer id -> milliseconds

    uint32_t Tick() const override { return now; }
    void StartTimer(int id, int milliseconds) override { running[id] = milliseconds; }
    void StopTimer(int id) override { running.erase(id); }
};
