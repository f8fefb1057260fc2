// A project file of any version, read as the program reads it: from memory
// (what is not a regular file is read whole first) and from a regular file,
// which the archive takes apart piece by piece.
#include <cstddef>
#include <cstdint>
#include <span>

#include "document/document.h"
#include "fuzz_support.h"
#include "model/archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        CDovereduDoc doc;
        try {
            CArchive ar(std::span<const uint8_t>(data, size), "fuzz.ETT");
            doc.Serialize(ar);
        } catch (const CArchiveException&) {
            // A damaged project is refused with its message: what the reader must do.
        }
    }
    CDovereduDoc doc;
    (void)doc.Open(WriteInput("fuzz.ETT", data, size).string());
    return 0;
}
