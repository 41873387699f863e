// Finding the .sim of one scenario in a folder of compiled files.
#pragma once

#include <filesystem>
#include <string>

namespace scenario::tool {

// The folder's <route>_<train>.sim: the one there is, or the one whose name
// starts with the route (and, with a train, is exactly <route>_<train>.sim).
// Throws Failure naming the files found and the option that chooses when
// there is none or more than one.
std::filesystem::path choose_sim_file(const std::filesystem::path& dir, const std::string& route,
                                      const std::string& train);

}  // namespace scenario::tool
