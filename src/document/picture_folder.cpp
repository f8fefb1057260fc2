#include "document/picture_folder.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "document/dir.h"
#include "document/document.h"
#include "model/picture.h"
#include "model/text_encoding.h"

namespace fs = std::filesystem;

namespace {

// Above this many "NAME (n).EXT" the folder is taken to be unusable.
constexpr int kMaxNumberedCopies = 10000;

std::string Folded(std::string_view name)
{
    std::string out(name);
    std::transform(out.begin(), out.end(), out.begin(),
        [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

bool SameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

// Compares two files block by block.
bool SameBytes(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    const auto sizeA = fs::file_size(a, ec);
    if (ec)
        return false;
    const auto sizeB = fs::file_size(b, ec);
    if (ec || sizeA != sizeB)
        return false;
    std::FILE* fa = std::fopen(a.c_str(), "rb");
    std::FILE* fb = fa ? std::fopen(b.c_str(), "rb") : nullptr;
    bool same = fa && fb;
    std::vector<char> bufA(1 << 16), bufB(1 << 16);
    while (same) {
        const size_t na = std::fread(bufA.data(), 1, bufA.size(), fa);
        const size_t nb = std::fread(bufB.data(), 1, bufB.size(), fb);
        if (na != nb || !std::equal(bufA.begin(), bufA.begin() + long(na), bufB.begin())
            || std::ferror(fa) || std::ferror(fb))
            same = false;
        if (na < bufA.size())
            break;
    }
    if (fa)
        std::fclose(fa);
    if (fb)
        std::fclose(fb);
    return same;
}

// "NAME.EXT" for 1, "NAME (n).EXT" after that.
fs::path Numbered(const fs::path& name, int n)
{
    if (n == 1)
        return name;
    return fs::path(
        name.stem().string() + " (" + std::to_string(n) + ")" + name.extension().string());
}

// Copies to a temporary name in the target's folder, then renames; false
// leaves nothing behind.
bool CopyWhole(const fs::path& source, const fs::path& target)
{
    const fs::path temporary = target.parent_path() / (".~" + target.filename().string() + ".tmp");
    if (!CDir::CopyFile(source.string(), temporary.string()))
        return false;
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

} // namespace

fs::path PictureFolderOf(const std::string& projectPath)
{
    if (projectPath.empty())
        return {};
    return fs::path(projectPath).parent_path() / CPict::kPictureFolder;
}

std::vector<std::string> ListPictureFolder(const fs::path& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string fa = Folded(a);
        const std::string fb = Folded(b);
        return fa != fb ? fa < fb : a < b;
    });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::optional<fs::path> CopyIntoPictureFolder(const fs::path& source, const fs::path& folder)
{
    std::error_code ec;
    if (folder.empty() || !fs::is_regular_file(source, ec))
        return std::nullopt;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        return std::nullopt;
    const fs::path name = source.filename();
    for (int n = 1; n <= kMaxNumberedCopies; ++n) {
        const fs::path target = folder / Numbered(name, n);
        if (!fs::exists(fs::symlink_status(target, ec))) {
            if (!CopyWhole(source, target))
                return std::nullopt;
            return target;
        }
        if (SameFile(source, target) || SameBytes(source, target))
            return target;
    }
    return std::nullopt;
}

int CopyPicturesBeside(CDovereduDoc& doc, const std::string& projectPath)
{
    const fs::path folder = PictureFolderOf(projectPath);
    if (folder.empty())
        return 0;
    int failed = 0;
    for (auto& sheet : doc.sheets) {
        for (auto& pict : sheet->pictures->pictures) {
            const fs::path from = Cp1252ToUtf8(pict->fileName);
            std::error_code ec;
            if (pict->fileName.empty() || !fs::is_regular_file(from, ec))
                continue;
            if (SameFile(from.parent_path(), folder))
                continue;
            if (const auto copy = CopyIntoPictureFolder(from, folder))
                pict->fileName = Utf8ToCp1252(copy->string());
            else
                ++failed;
        }
    }
    return failed;
}
