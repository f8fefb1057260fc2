#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_folder.h"

// Points $HOME and the XDG configuration, data and cache folders at a fresh
// temporary folder while it lives, so that what a test program runs (recent
// files, settings, file-dialog state, backups) never reads or writes the
// user's own. Made first in a test program's main, before anything asks Qt
// for a folder; the old values come back when it goes.
class CPrivateHome {
public:
    CPrivateHome();
    ~CPrivateHome();
    CPrivateHome(const CPrivateHome&) = delete;
    CPrivateHome& operator=(const CPrivateHome&) = delete;

private:
    CTempFolder folder;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};
