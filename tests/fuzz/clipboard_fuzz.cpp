// The clipboard's selection stream, pasted as "Plakken" and "Plakken op
// cursor" paste it. Whatever the bytes, a paste changes all or nothing; what
// was pasted, copied again, pastes the same records and texts once more.
// The picture of the result is drawn.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "model/archive.h"
#include "model/sheet.h"
#include "platform/ui_services.h"

namespace {

class CNullUi : public CUiServices {
public:
    Answer MessageBox(std::string_view, Buttons, Icon) override { return Answer::Ok; }
    void SetStatusText(int, std::string_view) override { }
    void Invalidate() override { }
};

// A sheet with a line in block 3 and a text, panned a little.
void Prepare(CSheet& s)
{
    s.recordCount = 1;
    s.Append(CETREC::Make(1000, 1000, 1, 0, 3));
    s.Append(CETREC::Make(5000, 1000, 1, 1, 3));
    s.origin = {-200, 300};
    s.RestartUndo();
}

// Nothing when a point lies too far from origin for the stream: points
// far apart on both sides of the new origin may.
std::optional<std::vector<uint8_t>> CopyAll(CSheet& s, int from)
{
    for (int i = from; i < s.recordCount; ++i)
        s.SelectRecord(i);
    CArchive ar("fuzz");
    if (!s.WriteSelection(ar))
        return std::nullopt;
    return ar.TakeBytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    CSheet sheet;
    Prepare(sheet);
    const int before = sheet.recordCount;
    CArchive ar(bytes, "fuzz");
    const CSheet::PasteResult result = sheet.PasteSelection(ar);
    if (result != CSheet::PasteResult::Pasted) {
        if (sheet.recordCount != before || sheet.texts.GetCount() != 0 || sheet.undoPosition != 0)
            std::abort();
    } else {
        const int pasted = sheet.recordCount - before; // unselected, as is the rest
        for (int i = 0; i < sheet.texts.GetCount(); ++i)
            sheet.texts.SetSelected(i, true);
        if (const auto again = CopyAll(sheet, before)) {
            CSheet other;
            Prepare(other);
            other.origin = sheet.origin;
            CArchive back(*again, "fuzz");
            const CSheet::PasteResult second = other.PasteSelection(back);
            // Segment moves may be added, never records lost.
            if (second == CSheet::PasteResult::Pasted && other.recordCount - before < pasted)
                std::abort();
            if (second == CSheet::PasteResult::Pasted
                && other.texts.GetCount() != sheet.texts.GetCount())
                std::abort();
        }
        CNullCanvas canvas;
        sheet.PictureSheet()->DrawMetafile(canvas);
    }

    CSheet placing;
    Prepare(placing);
    CArchive cursor(bytes, "fuzz");
    if (placing.PasteIntoBuffer(cursor) == CSheet::PasteResult::Pasted) {
        CNullUi ui;
        placing.MoveBuffer(12345, -678);
        placing.CommitBuffer(ui);
        placing.CommitBuffer(ui);
        CNullCanvas canvas;
        placing.DrawPlacement(canvas, true);
    }
    return 0;
}
