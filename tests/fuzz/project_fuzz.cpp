// A project file of any version, read as the program reads it: from memory
// (what is not a regular file is read whole first) and from a regular file,
// which the archive takes apart piece by piece. Both ways must give the same
// project, or the same refusal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "document/document.h"
#include "fuzz_support.h"
#include "model/archive.h"

namespace {

// The project as its own writer stores it; nullopt when it was refused.
std::optional<std::vector<uint8_t>> ReadFromMemory(
    std::span<const uint8_t> bytes, const std::string& path)
{
    CDovereduDoc doc;
    try {
        CArchive ar(bytes, path);
        doc.Serialize(ar);
    } catch (const CArchiveException&) {
        return std::nullopt;
    }
    if (!doc.loadComplete)
        return std::nullopt;
    return doc.Store(path);
}

std::optional<std::vector<uint8_t>> ReadFromFile(const std::string& path)
{
    CDovereduDoc doc;
    if (doc.Open(path))
        return std::nullopt;
    return doc.Store(path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The same name both ways: picture names are read relative to it.
    const std::string path = WriteInput("fuzz.ETT", data, size).string();
    if (ReadFromMemory({data, size}, path) != ReadFromFile(path))
        std::abort();
    return 0;
}
