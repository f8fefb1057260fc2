#include "support/temp_folder.h"

#include <cstdlib>
#include <string>

CTempFolder::CTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "ridizav-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    path = pattern;
}

CTempFolder::~CTempFolder()
{
    std::error_code ec;
    std::filesystem::permissions(
        path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path, ec);
}
