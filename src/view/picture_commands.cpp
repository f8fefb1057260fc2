// "Eigenschappen": position and size of the one selected picture.
#include "app/command_table.h"
#include "app/picture_values.h"
#include "document/document.h"
#include "model/sheet.h"
#include "view/command_conditions.h"
#include "view/view_controller.h"
#include "view/view_dialogs.h"

namespace {

// Every change the dialog accepts shows on the sheet at once.
class CLivePicture : public CPictureEditListener {
public:
    CLivePicture(CPict& pict, CViewController& view)
        : pict(pict)
        , view(view)
    {
    }
    void PlacementChanged(const CRect& placement) override
    {
        pict.placementRect = placement;
        view.Redraw();
    }

private:
    CPict& pict;
    CViewController& view;
};

// The one selected picture, -1 unless exactly one is selected.
int SelectedPicture(const CSheet& s)
{
    if (s.pictures->GetSelectedCount() != 1)
        return -1;
    for (int i = 0; i < s.pictures->GetSize(); ++i) {
        if (s.pictures->IsSelected(i))
            return i;
    }
    return -1;
}

} // namespace

void CViewController::RegisterPictureCommands()
{
    // Not for a picture that still follows the pointer: it is not placed.
    const CCondition onePicture = SheetIs([](const CSheet& s) {
        return s.toolStep != Step::PictureFollows && SelectedPicture(s) >= 0;
    });
    handlers.On(
        Cmd::PictureProperties, [this] { EditPictureProperties(); },
        [this, onePicture] {
            return CCommandState {onePicture(doc), false};
        });
}

void CViewController::EditPictureProperties()
{
    if (!HasSheet())
        return;
    CSheet& s = Sheet();
    const int index = SelectedPicture(s);
    if (index < 0)
        return;
    CPict& pict = s.pictures->At(index);
    const CRect original = pict.placementRect;
    CLivePicture live(pict, *this);
    CPictureEdit edit(pict, s.origin, &live);
    const bool ok = dialogs.EditPicture(edit);
    // The dialog may have changed the sheet under the picture; find it anew.
    CSheet& now = Sheet();
    if (!now.pictures->IsValid(index))
        return;
    CPict& after = now.pictures->At(index);
    if (!ok) {
        if (after.placementRect != original) {
            after.placementRect = original;
            Redraw();
        }
        return;
    }
    after.placementRect = edit.Placement();
    now.pictures->SetCurrentIndex(index);
    if (after.placementRect != original)
        doc.RecordUndoStep();
    Redraw();
}
