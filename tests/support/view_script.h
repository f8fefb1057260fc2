#pragma once

#include <initializer_list>
#include <ostream>

#include "app/settings.h"
#include "document/document.h"
#include "model/model_defaults.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_ui.h"
#include "view/view_controller.h"

// One event of a script for the view: the left button pressed, released or
// clicked at a pixel, the pointer moved to one, a key pressed and released, a
// command run, or what is in progress finished.
struct CViewEvent {
    enum class Kind { Press, Move, Release, Click, Key, Command, Finish };
    Kind kind = Kind::Move;
    int x = 0;
    int y = 0;
    int code = 0; // the key or the command id
    bool ctrl = false; // held at a press, release, click or key
    bool shift = false;
};

CViewEvent Press(int x, int y);
CViewEvent Move(int x, int y);
CViewEvent Release(int x, int y);
// Press and release at one pixel.
CViewEvent Click(int x, int y);
CViewEvent KeyStroke(int key);
CViewEvent Command(int id);
CViewEvent Finish();
// The same event with Ctrl held.
CViewEvent WithCtrl(CViewEvent e);
CViewEvent WithShift(CViewEvent e);

// What a script leaves on the active sheet.
struct CViewOutcome {
    int step = 0;
    int records = 0; // records after the sentinel
    int undoSteps = 0; // the steps Undo can take back
    bool modified = false; // the project

    friend bool operator==(const CViewOutcome&, const CViewOutcome&) = default;
};
std::ostream& operator<<(std::ostream& out, const CViewOutcome& o);

// A view of a new project with one 400 x 270 mm sheet, 640 x 480 pixels at
// zoom 100 from the sheet's top-left corner, without snapping; the user
// interface, the questions and the clock are scripted. The model's defaults
// come back as they were when it goes.
// A fixed zoom and pan offset on a sheet, snapping off: pixels times the
// zoom are view space.
void PlaceView(CSheet& sheet, int zoom, int originX, int originY);

class CViewBench {
public:
    CViewBench();
    ~CViewBench();
    CViewBench(const CViewBench&) = delete;
    CViewBench& operator=(const CViewBench&) = delete;

    CSheet& Sheet() { return doc.GetActiveSheet(); }
    void Place(int zoom, int originX, int originY) { PlaceView(Sheet(), zoom, originX, originY); }
    CViewOutcome Outcome();
    // Runs the events in order; the outcome after the last.
    CViewOutcome Run(std::initializer_list<CViewEvent> events);

    CModelDefaults savedDefaults = ModelDefaults();
    CDovereduDoc doc;
    CSettings settings {CDefaultPaths {}};
    CScriptedUi ui;
    CScriptedDialogs dialogs;
    CScriptedClock clock;
    CViewController view {doc, settings, ui, dialogs, clock};
};
