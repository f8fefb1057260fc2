#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <string>
#include <string_view>
#include <vector>

// A PDF file written front to back: numbered objects, then the table of
// where each one starts. Streams are compressed with Deflate; a long stream
// (a large drawing's page) is cut into several streams that compress on the
// other processors while the next part is being written, and that the page
// names one after another as its contents.
class CPdfFile {
public:
    // Takes the bytes in order; false when they could not be written.
    using Sink = std::function<bool(const char* data, size_t size)>;

    explicit CPdfFile(Sink sink);
    ~CPdfFile();
    CPdfFile(const CPdfFile&) = delete;
    CPdfFile& operator=(const CPdfFile&) = delete;

    // A number for an object written later; every number taken must be
    // written before Finish.
    int Reserve();

    // `n 0 obj`, the body, `endobj`.
    void Object(int number, std::string_view body);

    // A stream object: `entries` are the dictionary's entries beside the
    // length and filter.
    void Stream(int number, std::string_view entries, std::string_view data);

    // Compresses `data` on another thread and writes it as object `number`
    // once the streams handed over before it are written.
    void StreamLater(int number, std::string data);

    // Writes the streams still being compressed, the table and the
    // trailer. False when anything could not be written.
    bool Finish(int catalog, int info);

private:
    void Write(std::string_view bytes);
    void WriteCompressed(int number, std::string_view entries, const std::string& compressed);
    void WritePending(size_t keep);

    Sink sink;
    bool ok = true;
    uint64_t offset = 0;
    std::vector<uint64_t> offsets; // by object number - 1; 0 while unwritten
    struct CPending {
        int number;
        std::future<std::string> compressed;
    };
    std::deque<CPending> pending;
};

// Deflate with the zlib wrapper, as the FlateDecode filter reads it.
std::string PdfCompress(std::string_view data);
