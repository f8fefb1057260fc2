#pragma once

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "model/platform_services.h"
#include "platform/image_codec.h"
#include "support/recording_canvas.h"

// An image codec for tests without Qt: "IMG" followed by the int32 width
// and height in HIMETRIC is a picture, anything else is not. It counts how
// often it is asked, and is the model's codec while it lives.
class CFakeImageCodec : public CImageCodec {
public:
    CFakeImageCodec()
        : saved(PlatformServices().imageCodec)
    {
        PlatformServices().imageCodec = this;
    }
    ~CFakeImageCodec() override { PlatformServices().imageCodec = saved; }
    CFakeImageCodec(const CFakeImageCodec&) = delete;
    CFakeImageCodec& operator=(const CFakeImageCodec&) = delete;

    std::shared_ptr<const CImage> Decode(std::span<const uint8_t> bytes) const override
    {
        ++decodes;
        if (bytes.size() != 11 || std::memcmp(bytes.data(), "IMG", 3) != 0)
            return nullptr;
        CSize size;
        std::memcpy(&size.cx, bytes.data() + 3, 4);
        std::memcpy(&size.cy, bytes.data() + 7, 4);
        return std::make_shared<CFakeImage>(size);
    }

    mutable int decodes = 0;

private:
    const CImageCodec* saved;
};

// The bytes of a fake picture of cx x cy HIMETRIC.
inline std::string FakeImageBytes(int32_t cx, int32_t cy)
{
    std::string bytes = "IMG";
    bytes.append(reinterpret_cast<const char*>(&cx), 4);
    bytes.append(reinterpret_cast<const char*>(&cy), 4);
    return bytes;
}

// Writes `bytes` to `path`, making its folder.
inline std::filesystem::path WriteTestFile(
    const std::filesystem::path& path, const std::string& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

inline std::string ReadTestFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
