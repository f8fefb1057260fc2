#include "document/dir.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

size_t LastSeparator(std::string_view path)
{
    return path.find_last_of("\\/");
}

// A drive prefix "C:" as written by Windows.
size_t DrivePrefixLength(std::string_view path)
{
    if (path.size() >= 2 && path[1] == ':'
        && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')))
        return 2;
    return 0;
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

fs::path PathOf(std::string_view path)
{
    return fs::path(std::string(path));
}

} // namespace

std::string CDir::FolderOf(std::string_view path)
{
    const size_t slash = LastSeparator(path);
    if (path.find('.') != std::string_view::npos && slash != std::string_view::npos)
        return std::string(path.substr(0, slash));
    return std::string(path);
}

std::string CDir::TitleOf(std::string_view path)
{
    path.remove_prefix(DrivePrefixLength(path));
    const size_t slash = LastSeparator(path);
    if (slash != std::string_view::npos)
        path.remove_prefix(slash + 1);
    const size_t dot = path.rfind('.');
    return std::string(dot == std::string_view::npos ? path : path.substr(0, dot));
}

std::string CDir::ExtensionOf(std::string_view path)
{
    const size_t dot = path.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string CDir::SanitizePath(std::string_view path, bool keepColon)
{
    static constexpr std::string_view kUnsafe = "#$%^&;=?'\"<>/|[]{}`~";
    std::string out(path);
    for (char& c : out) {
        if (kUnsafe.find(c) != std::string_view::npos || (c == ':' && !keepColon))
            c = ' ';
    }
    return out;
}

bool CDir::EnsureFolder(std::string_view path)
{
    const std::string folder = FolderOf(path);
    if (folder.empty())
        return false;
    std::error_code ec;
    if (fs::is_directory(PathOf(folder), ec))
        return true;
    fs::create_directories(PathOf(folder), ec);
    return fs::is_directory(PathOf(folder), ec);
}

bool CDir::FileExists(std::string_view path)
{
    std::error_code ec;
    const auto status = fs::status(PathOf(path), ec);
    return !ec && fs::exists(status) && !fs::is_directory(status);
}

bool CDir::FolderExists(std::string_view path)
{
    std::error_code ec;
    return fs::is_directory(PathOf(path), ec);
}

void CDir::DeleteFileIfExists(std::string_view path)
{
    if (FileExists(path)) {
        std::error_code ec;
        fs::remove(PathOf(path), ec);
    }
}

void CDir::RenameFile(std::string_view from, std::string_view to)
{
    std::error_code ec;
    if (fs::exists(PathOf(from), ec) && !fs::exists(PathOf(to), ec))
        fs::rename(PathOf(from), PathOf(to), ec);
}

bool CDir::CopyFile(std::string_view from, std::string_view to)
{
    // Opening the target for writing would empty a file copied onto itself.
    std::error_code same;
    if (fs::equivalent(PathOf(from), PathOf(to), same) && !same)
        return true;
    std::FILE* in = std::fopen(std::string(from).c_str(), "rb");
    if (in == nullptr)
        return false;
    std::FILE* out = std::fopen(std::string(to).c_str(), "wb");
    if (out == nullptr) {
        std::fclose(in);
        return false;
    }
    constexpr size_t kBlock = 1023999;
    std::vector<char> buffer(1024000);
    bool ok = true;
    while (ok) {
        const size_t n = std::fread(buffer.data(), 1, kBlock, in);
        if (n > 0 && std::fwrite(buffer.data(), 1, n, out) != n)
            ok = false;
        if (n < kBlock) {
            if (std::ferror(in))
                ok = false;
            break;
        }
    }
    std::fclose(in);
    if (std::fclose(out) != 0)
        ok = false;
    if (!ok) {
        std::error_code ec;
        fs::remove(PathOf(to), ec);
    }
    return ok;
}

bool CDir::Matches(std::string_view pattern, std::string_view name)
{
    // Iterative wildcard match with one backtrack point for the last "*".
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool CDir::ListFiles(std::string_view pattern, std::vector<std::string>& names, unsigned options)
{
    names.clear();
    const size_t slash = LastSeparator(pattern);
    const std::string folder
        = slash == std::string_view::npos ? "." : std::string(pattern.substr(0, slash));
    const std::string_view mask
        = slash == std::string_view::npos ? pattern : pattern.substr(slash + 1);

    std::vector<fs::directory_entry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? "/" : folder, ec), end; !ec && it != end;
         it.increment(ec))
        entries.push_back(*it);

    bool any = false;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (name == "." || name == ".." || !Matches(mask, name))
            continue;
        std::error_code dirError;
        if (entry.is_directory(dirError) && !(options & kFoldersToo))
            continue;
        any = true;
        std::string item = (options & kFullPaths) ? (fs::path(folder) / name).string() : name;
        if (!(options & kKeepExtensions)) {
            const size_t dot = item.rfind('.');
            const size_t sep = LastSeparator(item);
            if (dot != std::string::npos && (sep == std::string::npos || dot > sep))
                item.erase(dot);
        }
        if (!item.empty())
            names.push_back(std::move(item));
    }
    SortNames(names);
    return any;
}

void CDir::SortNames(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end());
}
