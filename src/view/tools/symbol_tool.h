#pragma once

class CToolContext;

// "Symbolen": the library's browser asks for a symbol, which then follows
// the pointer from the cursor to be placed (500). Cancel, an unreadable
// file (said so) or an empty one end in the Select tool.
void ChooseSymbol(CToolContext& ctx);
