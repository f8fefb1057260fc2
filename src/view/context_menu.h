#pragma once

#include <vector>

class CSheet;

// An entry of the view's context menu that is a separator line.
constexpr int kMenuSeparator = 0;

// The view's context menu for the active sheet's tool, step and selection:
// command ids in order, kMenuSeparator between the groups, never first,
// last or twice in a row. The active tool is never among the tools offered.
std::vector<int> ContextMenuItems(const CSheet& sheet);
