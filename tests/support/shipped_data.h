#pragma once

#include <filesystem>

// The folder of the data the program ships: $RIDIZAV_DATA when set, else the
// repository's data/ folder this build was made from, so that a test program
// run by hand finds it as well as one run by CTest.
std::filesystem::path ShippedDataFolder();
