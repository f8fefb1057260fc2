#pragma once

// The tool in force on a sheet (the sheet's toolMode).
namespace ToolMode {
constexpr int Select = 8192;
constexpr int Symbols = 8193;
constexpr int Lines = 8208;
constexpr int Lines90 = 8213;
constexpr int Junctions = 8224;
constexpr int Text = 8240;
constexpr int WindowsText = 8245;
constexpr int Rectangles = 8256;
constexpr int Ellipses = 8288;
constexpr int Pictures = 8336;
constexpr int FilledPolygon = 8466;
constexpr int FilledPolygon90 = 8472;
constexpr int FilledRectangle = 8517;
constexpr int FilledEllipse = 8549;
constexpr int CopyPlacement = 10256;
} // namespace ToolMode
