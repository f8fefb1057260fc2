#pragma once

#include <string_view>

#include "platform/canvas.h"
#include "platform/types.h"

// The size, in pixels, that a text takes in a system font on the screen.
class CTextMetrics {
public:
    virtual ~CTextMetrics() = default;
    // Width and cell height of the text, unturned.
    virtual CSize TextExtent(const CFontDesc& font, std::string_view text) const = 0;
};
