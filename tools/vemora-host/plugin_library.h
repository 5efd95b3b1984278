// The plugin's library as the operating system loads it: its one entry point
// and its module handle (which the host hands back from getPluginModule).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "wire/records.h"

namespace vemora::standin {

class PluginLibrary {
public:
    virtual ~PluginLibrary() = default;
    virtual wire::MessageProc entryPoint() const = 0;
    virtual void* moduleHandle() const = 0;
};

// Loads the library and finds IMessageProc; throws HostError naming the file
// and the system's reason when either fails.
std::unique_ptr<PluginLibrary> openPluginLibrary(const std::string& path);

// The plugin library that lies beside the stand-in's own executable.
std::string defaultPluginPath();

}  // namespace vemora::standin
