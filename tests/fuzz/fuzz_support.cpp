#include "fuzz_support.h"

#include <cstdlib>
#include <fstream>

#include "support/temp_folder.h"

const std::filesystem::path& FuzzFolder()
{
    static const CTempFolder folder;
    return folder.path;
}

std::filesystem::path WriteInput(std::string_view name, const uint8_t* data, size_t size)
{
    const std::filesystem::path path = FuzzFolder() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    // A target that cannot write its input would test nothing.
    if (!out)
        std::abort();
    return path;
}

void ClearFolder(std::string_view name)
{
    std::error_code ec;
    std::filesystem::remove_all(FuzzFolder() / name, ec);
}

std::filesystem::path DataFolder()
{
    return RIDIZAV_DATA_FOLDER;
}
