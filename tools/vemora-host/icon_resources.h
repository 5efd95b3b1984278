// The host's use of the plugin's module handle: the icon groups the plugin
// registers are loaded from it, as the messenger loads them to draw them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vemora::standin {

struct IconImage {
    uint16_t resource = 0;  // its RT_ICON id
    int width = 0;          // as the image's own header states them
    int height = 0;
    int bitsPerPixel = 0;
    bool png = false;
    std::string failure;  // empty when the system made an icon of it
};

struct IconGroup {
    std::vector<IconImage> images;
    std::string failure;  // the group itself cannot be loaded: nothing else is known
};

// The icon group `resource` of the loaded `module`, with every image in it.
// nullopt where the stand-in cannot read a library's resources (its Linux
// build, whose plugin is an ELF shared object without them).
std::optional<IconGroup> loadIconGroup(void* module, uint32_t resource);
bool readsIconResources();

// "16x16, 8 bits per pixel" (and ", PNG", and what went wrong).
std::string describeIconImage(const IconImage& image);

}  // namespace vemora::standin
