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

// Where the sheet's tool stands (the sheet's toolStep). Every tool starts and
// ends at Idle; the zoom window borrows steps 101 and 102 from any tool.
namespace Step {
constexpr int Idle = 0;
constexpr int ZoomArmed = 101; // the next press starts the zoom window
constexpr int ZoomDrag = 102; // the zoom window follows the pointer
constexpr int Rubber = 112; // a selection rectangle follows the pointer
constexpr int Selection = 200; // a selection is held and can be moved
constexpr int Typing = 220; // a text is being typed
constexpr int PictureFollows = 300;
constexpr int LineStarted = 400;
constexpr int LineFollows = 401; // the last segment follows the pointer
constexpr int VertexPressed = 402;
constexpr int Placing = 500; // a placement follows the pointer
} // namespace Step

// The tools that draw a line of segments, open or filled.
constexpr bool IsLineTool(int toolMode)
{
    return toolMode == ToolMode::Lines || toolMode == ToolMode::Lines90
        || toolMode == ToolMode::FilledPolygon || toolMode == ToolMode::FilledPolygon90;
}

// The tools whose figures are filled.
constexpr bool IsFilledTool(int toolMode)
{
    return toolMode == ToolMode::FilledPolygon || toolMode == ToolMode::FilledPolygon90
        || toolMode == ToolMode::FilledRectangle || toolMode == ToolMode::FilledEllipse;
}
