#include "support/shipped_data.h"

#include <cstdlib>

std::filesystem::path ShippedDataFolder()
{
    const char* data = std::getenv("RIDIZAV_DATA");
    if (data != nullptr && *data != '\0')
        return data;
    return RIDIZAV_SOURCE_DATA;
}
