// The version block of the plugin's library, as Windows shows it in the
// file's properties: the fixed numbers and the language's strings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vemora::standin {

struct VersionResource {
    std::string file;            // the library's file name, UTF-8
    std::string fileVersion;     // from the fixed part, "major.minor.patch.tweak"
    std::string productVersion;
    uint16_t language = 0;       // of the first translation listed
    uint16_t codePage = 0;
    std::vector<std::pair<std::string, std::string>> strings;  // name and value, UTF-8, those present
};

// The version block of the library loaded as `module`. nullopt where the
// stand-in cannot read a library's resources (its Linux build); throws
// HostError when the library has no readable version block.
std::optional<VersionResource> readVersionResource(void* module);

}  // namespace vemora::standin
