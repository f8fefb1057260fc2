#include "support/bytes.h"

#include <cstdio>

std::string Hex(const std::vector<uint8_t>& bytes, size_t limit)
{
    std::string out;
    char buf[4];
    for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
        std::snprintf(buf, sizeof buf, "%02x", bytes[i]);
        if (!out.empty())
            out += ' ';
        out += buf;
    }
    if (bytes.size() > limit)
        out += " ...";
    return out;
}
