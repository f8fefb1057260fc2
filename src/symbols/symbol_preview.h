#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/etrec.h"

class CCanvas;

// The preview of a symbol in the library browser: its records fitted into
// the frame with a margin of 10 pixels, at most two pixels per 0.1 mm, with
// the reference point marked. Black on white in any colour scheme: a symbol
// file keeps no colours, and its pens and layers are not shown.

// Larger symbol files are not previewed (they can still be placed).
inline constexpr size_t kPreviewMaxBytes = 1199991;

// Shown in the preview when the library holds no symbol at all; %1 is the
// symbols folder.
inline constexpr std::string_view kMsgNoSymbols = "Geen symbolen in %1";

// The records of the symbol file for its preview; nullopt when it cannot be
// read or is too large to preview. Read once when a symbol is chosen, not on
// every paint.
std::optional<std::vector<CSym>> ReadSymbolForPreview(const std::filesystem::path& path);

// Erases the frame of width x height pixels to white.
void ErasePreview(CCanvas& canvas, int width, int height);

// Erases the frame and draws the symbol in it. A frame of 20 pixels or less
// either way leaves no room inside its margins and stays blank; an empty
// symbol shows the reference point mark alone.
void DrawSymbolPreview(CCanvas& canvas, std::span<const CSym> symbol, int width, int height);
