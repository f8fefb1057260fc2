#pragma once

// The DXF drawing the benchmarks import and print, written once per folder.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

// An R12 drawing in millimetres of an A3 sheet: 70% LINE, 10% CIRCLE,
// 10% ARC, 9% POLYLINE, 1% TEXT.
inline std::filesystem::path MakeDxfDrawing(const std::filesystem::path& folder, int entities)
{
    const auto path = folder / ("drawing-" + std::to_string(entities) + ".dxf");
    if (std::filesystem::exists(path))
        return path;
    std::string s;
    s.reserve(static_cast<size_t>(entities) * 110);
    const auto g = [&s](int code, const std::string& v) {
        s += std::to_string(code);
        s += '\n';
        s += v;
        s += '\n';
    };
    const auto num = [](int v) { return std::to_string(v / 10) + "." + std::to_string(v % 10); };
    g(0, "SECTION");
    g(2, "HEADER");
    g(9, "$EXTMIN");
    g(10, "0.0");
    g(20, "0.0");
    g(9, "$EXTMAX");
    g(10, "420.0");
    g(20, "297.0");
    g(0, "ENDSEC");
    g(0, "SECTION");
    g(2, "ENTITIES");
    for (int i = 0; i < entities; ++i) {
        const int x = static_cast<int>((int64_t {i} * 7919) % 4000);
        const int y = static_cast<int>((int64_t {i} * 104729) % 2800);
        const int kind = i % 100;
        if (kind < 70) {
            g(0, "LINE");
            g(8, "0");
            g(10, num(x));
            g(20, num(y));
            g(11, num(x + 50 + i % 7));
            g(21, num(y + i % 3));
        } else if (kind < 80) {
            g(0, "CIRCLE");
            g(8, "0");
            g(10, num(x));
            g(20, num(y));
            g(40, num(5 + i % 40));
        } else if (kind < 90) {
            g(0, "ARC");
            g(8, "0");
            g(10, num(x));
            g(20, num(y));
            g(40, num(20 + i % 30));
            g(50, std::to_string(i % 360));
            g(51, std::to_string((i % 360 + 10 + i % 170) % 360));
        } else if (kind < 99) {
            g(0, "POLYLINE");
            g(8, "0");
            g(66, "1");
            g(70, kind % 2 ? "1" : "0");
            for (int v = 0; v < 4; ++v) {
                g(0, "VERTEX");
                g(8, "0");
                g(10, num(x + 30 * v));
                g(20, num(y + 20 * (v % 2)));
            }
            g(0, "SEQEND");
        } else {
            g(0, "TEXT");
            g(8, "0");
            g(10, num(x));
            g(20, num(y));
            g(40, "2.5");
            g(1, "K" + std::to_string(i));
        }
    }
    g(0, "ENDSEC");
    g(0, "EOF");
    std::ofstream(path, std::ios::binary) << s;
    return path;
}
