// A DXF file imported into a project as a new sheet, its blocks written as
// symbol files into the private folder, its texts built with the shipped
// stroke font.
#include <cstddef>
#include <cstdint>

#include "document/document.h"
#include "dxf/dxf_import.h"
#include "fuzz_support.h"
#include "model/stroke_font.h"

namespace {

const CDovereduFont& ShippedFont()
{
    static const CDovereduFont font = [] {
        CDovereduFont f;
        f.Load((DataFolder() / CDovereduFont::kFileName).string());
        return f;
    }();
    return font;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CDovereduDoc doc;
    (void)ImportDXF(
        doc, WriteInput("fuzz.DXF", data, size), FuzzFolder() / "symbols", ShippedFont());
    ClearFolder("symbols");
    return 0;
}
