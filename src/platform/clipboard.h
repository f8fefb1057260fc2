#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/types.h"

class CCanvas;

// What the picture beside the selection stream is drawn from when another
// program asks for it. It is a copy made when the selection was copied:
// drawing a large sheet takes seconds, and most copies are never pasted
// as a picture.
class CClipboardPicture {
public:
    virtual ~CClipboardPicture() = default;
    // The picture's size in units of 10 micrometres (0.01 mm).
    virtual CSize Size() const = 0;
    // Draws the picture from (0, 0) in units of 10 micrometres.
    virtual void Draw(CCanvas& dc) = 0;
};

// The system clipboard as the view's Cut, Copy and Paste use it.
class CClipboard {
public:
    enum class Failure { None, NotOpened, NoData };
    // What Take found: the stream's bytes, or why there are none.
    struct CTaken {
        std::vector<uint8_t> bytes;
        Failure failure = Failure::None;
    };

    virtual ~CClipboard() = default;

    // Puts the selection stream and its picture on the clipboard in one
    // go, in place of whatever it held; false when the clipboard is not
    // ours afterwards.
    virtual bool Put(std::vector<uint8_t> stream, std::unique_ptr<CClipboardPicture> picture) = 0;
    // Whether the clipboard holds a selection stream, as last heard from the
    // platform: never asks it, since asking may block for seconds.
    virtual bool HoldsStream() const = 0;
    // The selection stream on the clipboard.
    virtual CTaken Take() = 0;
};
