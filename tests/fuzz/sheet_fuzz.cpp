// One sheet body of any schema, read from memory as a project, the undo
// history and the clipboard read it, then fitted and drawn as a view does
// right after opening: values that the drawing divides by or indexes with
// must have been checked by the reader.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_support.h"
#include "model/archive.h"
#include "model/pen_table.h"
#include "model/sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CSheet sheet;
    try {
        CArchive ar(std::span<const uint8_t>(data, size), "fuzz.ETT");
        sheet.Serialize(ar);
    } catch (const CArchiveException&) {
        return 0;
    }
    sheet.ZoomAll();
    CNullCanvas canvas;
    CPenTable pens;
    sheet.DrawSheet(canvas, pens);
    return 0;
}
