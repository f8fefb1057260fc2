// One sheet body of any schema, read from memory as a project, the undo
// history and the clipboard read it. What it stores must read back to the
// same bytes (a resave of a resave changes nothing). Then it is fitted and
// drawn as a view does right after opening: values that the drawing divides
// by or indexes with must have been checked by the reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "fuzz_support.h"
#include "model/archive.h"
#include "model/pen_table.h"
#include "model/sheet.h"

namespace {

std::vector<uint8_t> Stored(CSheet& sheet)
{
    CArchive ar("fuzz.ETT");
    sheet.Serialize(ar);
    return ar.TakeBytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CSheet sheet;
    try {
        CArchive ar(std::span<const uint8_t>(data, size), "fuzz.ETT");
        sheet.Serialize(ar);
    } catch (const CArchiveException&) {
        return 0;
    }
    const std::vector<uint8_t> once = Stored(sheet);
    {
        CSheet again;
        try {
            CArchive ar(once, "fuzz.ETT");
            again.Serialize(ar);
        } catch (const CArchiveException&) {
            std::abort(); // the program cannot read what it wrote
        }
        if (Stored(again) != once)
            std::abort();
    }
    sheet.ZoomAll();
    CNullCanvas canvas;
    CPenTable pens;
    sheet.DrawSheet(canvas, pens);
    return 0;
}
