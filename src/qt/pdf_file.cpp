#include "qt/pdf_file.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <libdeflate.h>
#include <thread>

namespace {

// Level 6 makes smaller streams than zlib's default level, in a third of
// its time.
constexpr int kLevel = 6;

std::string Number(uint64_t n)
{
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
    return std::string(buffer, end);
}

// Streams being compressed at a time: enough to keep the other processors
// busy, few enough that their memory stays small.
size_t MaxPending()
{
    return std::max(2u, std::thread::hardware_concurrency());
}

} // namespace

std::string PdfCompress(std::string_view data)
{
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(kLevel);
    if (compressor == nullptr)
        throw std::bad_alloc();
    std::string out(libdeflate_zlib_compress_bound(compressor, data.size()), '\0');
    const size_t size
        = libdeflate_zlib_compress(compressor, data.data(), data.size(), out.data(), out.size());
    libdeflate_free_compressor(compressor);
    out.resize(size);
    return out;
}

CPdfFile::CPdfFile(Sink sink)
    : sink(std::move(sink))
{
    // The second line's bytes above 127 mark the file as binary.
    Write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

CPdfFile::~CPdfFile()
{
    for (CPending& p : pending)
        p.compressed.wait();
}

int CPdfFile::Reserve()
{
    offsets.push_back(0);
    return static_cast<int>(offsets.size());
}

void CPdfFile::Write(std::string_view bytes)
{
    if (ok && !bytes.empty())
        ok = sink(bytes.data(), bytes.size());
    offset += bytes.size();
}

void CPdfFile::Object(int number, std::string_view body)
{
    offsets.at(static_cast<size_t>(number - 1)) = offset;
    Write(Number(static_cast<uint64_t>(number)) + " 0 obj\n");
    Write(body);
    Write("\nendobj\n");
}

void CPdfFile::WriteCompressed(int number, std::string_view entries, const std::string& compressed)
{
    std::string head = "<<\n";
    head += entries;
    head += "/Filter /FlateDecode\n/Length " + Number(compressed.size()) + "\n>>\nstream\n";
    offsets.at(static_cast<size_t>(number - 1)) = offset;
    Write(Number(static_cast<uint64_t>(number)) + " 0 obj\n");
    Write(head);
    Write(compressed);
    Write("\nendstream\nendobj\n");
}

void CPdfFile::Stream(int number, std::string_view entries, std::string_view data)
{
    WriteCompressed(number, entries, PdfCompress(data));
}

void CPdfFile::StreamLater(int number, std::string data)
{
    WritePending(MaxPending() - 1);
    pending.push_back({number,
        std::async(std::launch::async, [data = std::move(data)]() { return PdfCompress(data); })});
}

void CPdfFile::WritePending(size_t keep)
{
    while (pending.size() > keep) {
        CPending p = std::move(pending.front());
        pending.pop_front();
        WriteCompressed(p.number, {}, p.compressed.get());
    }
}

bool CPdfFile::Finish(int catalog, int info)
{
    WritePending(0);
    const uint64_t table = offset;
    std::string xref = "xref\n0 " + Number(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (const uint64_t at : offsets) {
        if (at == 0)
            ok = false; // a number taken and never written
        char line[32];
        std::snprintf(line, sizeof line, "%010llu 00000 n \n", static_cast<unsigned long long>(at));
        xref += line;
    }
    Write(xref);
    Write("trailer\n<<\n/Size " + Number(offsets.size() + 1) + "\n/Info "
        + Number(static_cast<uint64_t>(info)) + " 0 R\n/Root "
        + Number(static_cast<uint64_t>(catalog)) + " 0 R\n>>\nstartxref\n" + Number(table)
        + "\n%%EOF\n");
    return ok;
}
