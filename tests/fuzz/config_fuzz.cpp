// The configuration file, of any revision, read over the defaults.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "app/config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const CSettings defaults;
    CSettings settings = defaults;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    (void)ReadConfig(in, settings);
    return 0;
}
