#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/types.h"

// A decoded picture. Immutable, so copies of a picture (undo snapshots,
// copied sheets) share one decoded image.
class CImage {
public:
    virtual ~CImage() = default;
    // The picture's natural size in HIMETRIC (0.01 mm).
    virtual CSize SizeHimetric() const = 0;
};

class CImageCodec {
public:
    virtual ~CImageCodec() = default;
    // Decodes a file's bytes; null when they are no picture the platform reads.
    virtual std::shared_ptr<const CImage> Decode(std::span<const uint8_t> bytes) const = 0;
};
