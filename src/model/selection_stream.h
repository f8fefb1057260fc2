#pragma once

#include <optional>
#include <span>
#include <vector>

#include "model/etrec.h"
#include "model/text.h"

class CArchive;

// The selection as the clipboard carries it between sheets, projects and
// running programs:
//
//   int32 n, then n records of 12 bytes: uint16 styleWord, uint16 blockWord,
//   int32 x, int32 y (styleWord first, the reverse of the record itself);
//   int32 m, then m texts as a sheet stores them, without an object tag.
//
// Points and text boxes are relative to the source sheet's `origin`, so the
// stream does not depend on how far that sheet was panned. Bytes after the
// texts are allowed: a clipboard block may be longer than what it holds.
struct CSelectionStream {
    std::vector<CETREC> records; // styleWord bits 8-15 cleared
    std::vector<CText> texts; // unselected
};

// The stream, read whole before anyone trusts it: every count is checked
// against the bytes present before anything is allocated. Nothing for a
// short or damaged stream.
std::optional<CSelectionStream> ReadSelectionStream(CArchive& ar);

// The new-block ordinal of each record as a paste numbers them: 0 for block
// 0; otherwise each block number higher than every earlier one of the
// stream starts the next ordinal (1, 2, ...), and a lower one joins the
// current ordinal. Returns the highest ordinal.
int PastedBlockOrdinals(std::span<const CETREC> records, std::vector<int>& ordinals);
