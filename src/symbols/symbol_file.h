#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/etrec.h"

class CSheet;
class CUiServices;

// A symbol file (".SYM") has no header: it is a run of 8-byte CSym records,
// in the order the records had on the sheet. Bytes after the last whole
// record are ignored, and an empty file is an empty symbol.
std::vector<CSym> DecodeSymbolBytes(std::span<const uint8_t> bytes);
std::vector<uint8_t> EncodeSymbolBytes(std::span<const CSym> symbol);
// nullopt when the file cannot be read.
std::optional<std::vector<CSym>> ReadSymbolFile(const std::filesystem::path& path);

// Shown when a selected record lies too far from the reference point for the
// 16-bit offsets of a symbol file.
inline constexpr std::string_view kMsgSymbolTooLarge
    = "Het symbool is niet opgeslagen: de selectie reikt verder dan 3276,7 mm van het "
      "referentiepunt (de cursor).";

// Shown when the symbol chosen for placing cannot be read; %1 is its file.
inline constexpr std::string_view kMsgSymbolUnreadable = "Het symbool %1 kan niet worden gelezen.";

// Writes the selected records, relative to the sheet's cursor, as a symbol
// file (whole, through a temporary file). Refused with a message while the
// selection criteria are segments alone, and when an offset does not fit the
// file; a file that cannot be written is reported too. Texts and pictures are
// not part of a symbol.
bool SaveSelectionAsSymbol(CSheet& sheet, const std::filesystem::path& path, CUiServices& ui);

// The placement buffer := the symbol's records at the sheet's cursor, all with
// the sheet's next block number (the filled flags kept); grows the sheet's
// arrays when needed and makes every layer but 0 that the symbol uses
// visible. Refused with a message (and the buffer left as it was) when no
// block number is free or a point would leave the 32-bit range.
bool LoadSymbol(CSheet& sheet, std::span<const CSym> symbol, CUiServices& ui);

// LoadSymbol with the symbol file at `path`; false without a message when the
// file cannot be read.
bool LoadSymbolForPlacement(CSheet& sheet, const std::filesystem::path& path, CUiServices& ui);
