// An old DOS library file, converted to a symbol file both as a ".BNK"
// (6-byte records) and as a ".LMC" (8-byte records between zero records).
// The symbol files go to the private folder.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "symbols/dos_library.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto out = FuzzFolder() / "symbols";
    for (const char* name : {"fuzz.BNK", "fuzz.LMC"}) {
        (void)ConvertLibraryFile(WriteInput(name, data, size), out / "fuzz.SYM");
        ClearFolder("symbols");
    }
    return 0;
}
