#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/clipboard.h"

// A clipboard for tests: holds what was put on it, refuses or fails when
// the script says so, and counts how often it was asked.
class CScriptedClipboard : public CClipboard {
public:
    std::vector<uint8_t> stream;
    std::unique_ptr<CClipboardPicture> picture;
    bool holdsStream = false;
    bool refusePut = false; // another program keeps the clipboard
    Failure takeFailure = Failure::None;
    int puts = 0;
    int takes = 0;

    bool Put(std::vector<uint8_t> bytes, std::unique_ptr<CClipboardPicture> pic) override
    {
        ++puts;
        if (refusePut)
            return false;
        stream = std::move(bytes);
        picture = std::move(pic);
        holdsStream = true;
        return true;
    }
    bool HoldsStream() const override { return holdsStream; }
    CTaken Take() override
    {
        ++takes;
        if (takeFailure != Failure::None)
            return {{}, takeFailure};
        if (!holdsStream)
            return {{}, Failure::NoData};
        return {stream, Failure::None};
    }
};
