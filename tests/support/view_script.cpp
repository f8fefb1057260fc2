#include "support/view_script.h"

#include "model/sheet.h"

CViewEvent Press(int x, int y)
{
    return {CViewEvent::Kind::Press, x, y, 0};
}

CViewEvent Move(int x, int y)
{
    return {CViewEvent::Kind::Move, x, y, 0};
}

CViewEvent Release(int x, int y)
{
    return {CViewEvent::Kind::Release, x, y, 0};
}

CViewEvent Click(int x, int y)
{
    return {CViewEvent::Kind::Click, x, y, 0};
}

CViewEvent KeyStroke(int key)
{
    return {CViewEvent::Kind::Key, 0, 0, key};
}

CViewEvent Command(int id)
{
    return {CViewEvent::Kind::Command, 0, 0, id};
}

CViewEvent Finish()
{
    return {CViewEvent::Kind::Finish, 0, 0, 0};
}

CViewEvent WithCtrl(CViewEvent e)
{
    e.ctrl = true;
    return e;
}

CViewEvent WithShift(CViewEvent e)
{
    e.shift = true;
    return e;
}

std::ostream& operator<<(std::ostream& out, const CViewOutcome& o)
{
    return out << "{step " << o.step << ", records " << o.records << ", undo steps " << o.undoSteps
               << (o.modified ? ", modified" : "") << "}";
}

CViewBench::CViewBench()
{
    doc.AddDefaultSheet();
    doc.modified = false;
    view.Resize(640, 480);
    Place(100, 0, 0);
}

CViewBench::~CViewBench()
{
    ModelDefaults() = savedDefaults;
}

void PlaceView(CSheet& s, int zoom, int originX, int originY)
{
    s.fitMode = 0;
    s.zoom = zoom;
    s.Pan(originX - s.origin.x, originY - s.origin.y, true);
    s.zoomAtLastDraw = zoom;
    s.grids.Active().snapOn = 0;
}

CViewOutcome CViewBench::Outcome()
{
    const CSheet& s = Sheet();
    return {s.toolStep, s.recordCount - 1, s.undoPosition, doc.modified};
}

CViewOutcome CViewBench::Run(std::initializer_list<CViewEvent> events)
{
    using Kind = CViewEvent::Kind;
    using Button = CViewController::Button;
    for (const CViewEvent& e : events) {
        const CModifiers held {e.ctrl, e.shift};
        switch (e.kind) {
        case Kind::Press:
            view.PointerMove(e.x, e.y, held);
            view.PointerPress(Button::Left, e.x, e.y, held);
            break;
        case Kind::Move:
            view.PointerMove(e.x, e.y, held);
            break;
        case Kind::Release:
            view.PointerMove(e.x, e.y, held);
            view.PointerRelease(Button::Left, e.x, e.y, held);
            break;
        case Kind::Click:
            view.PointerMove(e.x, e.y, held);
            view.PointerPress(Button::Left, e.x, e.y, held);
            view.PointerRelease(Button::Left, e.x, e.y, held);
            break;
        case Kind::Key:
            view.KeyDown({e.code, e.ctrl, e.shift});
            view.KeyUp({e.code, e.ctrl, e.shift});
            break;
        case Kind::Command:
            view.Execute(e.code);
            break;
        case Kind::Finish:
            view.FinishInteraction();
            break;
        }
    }
    return Outcome();
}
