#include "support/private_home.h"

#include <cstdlib>

namespace {

// The variable's name and the folder it gets, below the private home.
const std::pair<const char*, const char*> kFolders[] = {
    {"HOME", ""},
    {"XDG_CONFIG_HOME", ".config"},
    {"XDG_DATA_HOME", ".local/share"},
    {"XDG_CACHE_HOME", ".cache"},
    {"XDG_STATE_HOME", ".local/state"},
};

} // namespace

CPrivateHome::CPrivateHome()
{
    for (const auto& [name, below] : kFolders) {
        const char* old = std::getenv(name);
        saved.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
        const std::filesystem::path path = folder.path / below;
        std::filesystem::create_directories(path);
        setenv(name, path.c_str(), 1);
    }
}

CPrivateHome::~CPrivateHome()
{
    for (const auto& [name, old] : saved) {
        if (old)
            setenv(name.c_str(), old->c_str(), 1);
        else
            unsetenv(name.c_str());
    }
}
