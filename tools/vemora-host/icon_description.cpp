#include "icon_resources.h"

namespace vemora::standin {

std::string describeIconImage(const IconImage& image) {
    std::string text = std::to_string(image.width) + "x" + std::to_string(image.height) + ", " +
                       std::to_string(image.bitsPerPixel) + " bits per pixel";
    if (image.png) text += ", PNG";
    if (!image.failure.empty()) text += ": " + image.failure;
    return text;
}

}  // namespace vemora::standin
