// Loading the Linux twin of the plugin (vemora.so) with dlopen.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "host_error.h"
#include "plugin_library.h"

namespace vemora::standin {

namespace {

class SharedObject : public PluginLibrary {
public:
    explicit SharedObject(const std::string& path) {
        // RTLD_LOCAL keeps the plugin's own symbols to itself; its undefined
        // ones (time among them) still resolve against the executable first.
        handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr) throw HostError("cannot load the plugin: " + std::string(dlerror()));
        void* symbol = dlsym(handle_, wire::EXPORT_NAME_SO);
        if (symbol == nullptr) {
            dlclose(handle_);
            throw HostError("the plugin " + path + " has no IMessageProc");
        }
        entry_ = reinterpret_cast<wire::MessageProc>(symbol);
    }
    ~SharedObject() override { dlclose(handle_); }
    SharedObject(const SharedObject&) = delete;
    SharedObject& operator=(const SharedObject&) = delete;

    wire::MessageProc entryPoint() const override { return entry_; }
    void* moduleHandle() const override { return handle_; }

private:
    void* handle_ = nullptr;
    wire::MessageProc entry_ = nullptr;
};

}  // namespace

std::unique_ptr<PluginLibrary> openPluginLibrary(const std::string& path) {
    // dlopen searches the library path for a bare name; a file is meant here.
    return std::make_unique<SharedObject>(path.find('/') == std::string::npos ? "./" + path : path);
}

std::string defaultPluginPath() {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return "vemora.so";
    std::string path(self, static_cast<size_t>(length));
    const size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "vemora.so";
}

}  // namespace vemora::standin
