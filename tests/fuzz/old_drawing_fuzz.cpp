// A drawing of an old version brought into a project as a new sheet: read as
// a ".lay" (old pen widths), a ".lmc" (old units) and as a symbol file
// (".sch"), each fitted into the view as the import does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "document/document.h"
#include "fuzz_support.h"
#include "model/grid.h"
#include "symbols/old_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> paths;
    for (const char* name : {"fuzz.lay", "fuzz.lmc", "fuzz.sch"})
        paths.push_back(WriteInput(name, data, size).string());
    CDovereduDoc doc;
    doc.SetViewRect(0, 0, 800, 600);
    (void)ImportOldDrawings(doc, paths, CGridArr {});
    return 0;
}
