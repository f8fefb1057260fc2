#pragma once

// A drawing is held in whole arrays of millions of records, and every undo
// step keeps another copy. When such a block is freed the C library would
// hand it back to the system, and the next project (or the next edit) would
// have every page of its arrays faulted in afresh, which costs more than
// reading the project itself. The program keeps freed blocks for reuse
// instead; call once at start, before anything large is allocated.
void KeepLargeBlocksForReuse();
