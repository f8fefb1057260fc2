#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Test helpers for byte layouts.
inline std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<uint8_t>(v));
    return out;
}

// "01 ff 00" style dump, for readable failure messages.
std::string Hex(const std::vector<uint8_t>& bytes, size_t limit = 64);
