#pragma once

#include <filesystem>

// A fresh folder for one test, removed with everything in it afterwards.
struct CTempFolder {
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;
    std::filesystem::path path;
};
