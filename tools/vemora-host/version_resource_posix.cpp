#include "version_resource.h"

namespace vemora::standin {

std::optional<VersionResource> readVersionResource(void*) { return std::nullopt; }

}  // namespace vemora::standin
