// Linux: the plugin's twin vemora.so, loaded with dlopen; the clock pinned by
// defining time() in the executable, which exports it (exported_symbols.list)
// so that the dynamic linker binds the plugin's call to it. With a 64-bit
// time_t that symbol is __time64; with no date pinned it reports the real
// clock.
#include <dlfcn.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <climits>

#include "host_error.h"
#include "platform.h"

namespace vemora::standin {

namespace {

class SharedObject : public PluginLibrary {
public:
    explicit SharedObject(const std::string& path) {
        // dlopen searches the library path for a bare name; a file is meant here.
        const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
        // RTLD_LOCAL keeps the plugin's symbols to itself; its undefined ones
        // (time among them) still resolve against the executable first.
        handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr) throw HostError("cannot load the plugin " + path + ": " + dlerror());
        void* symbol = dlsym(handle_, wire::EXPORT_NAME_SO);
        if (symbol == nullptr) {
            dlclose(handle_);
            throw HostError("cannot load the plugin " + path + ": it has no " + wire::EXPORT_NAME_SO);
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

std::optional<CivilDate> pinned;
time_t pinnedMoment = 0;

time_t realNow() {
    struct timespec now{};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) return static_cast<time_t>(-1);
    return now.tv_sec;
}

}  // namespace

std::unique_ptr<PluginLibrary> openPluginLibrary(const std::string& path) {
    return std::make_unique<SharedObject>(path);
}

std::string defaultPluginPath() {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return "vemora.so";
    const std::string path(self, static_cast<size_t>(length));
    return path.substr(0, path.rfind('/') + 1) + "vemora.so";
}

bool pinClock(std::optional<CivilDate> date) {
    if (!date) {
        pinned.reset();
        return true;
    }
    if (!isPinnable(*date)) return false;
    struct tm noon{};
    noon.tm_year = static_cast<int>(date->year()) - 1900;
    noon.tm_mon = static_cast<int>(static_cast<unsigned>(date->month())) - 1;
    noon.tm_mday = static_cast<int>(static_cast<unsigned>(date->day()));
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    const time_t moment = mktime(&noon);
    if (moment == static_cast<time_t>(-1)) return false;
    pinned = date;
    pinnedMoment = moment;
    return true;
}

std::optional<CivilDate> pinnedDate() { return pinned; }

CivilDate clockToday() {
    if (pinned) return *pinned;
    const time_t now = realNow();
    struct tm local{};
    localtime_r(&now, &local);
    return CivilDate{std::chrono::year{local.tm_year + 1900}, std::chrono::month{static_cast<unsigned>(local.tm_mon + 1)},
                     std::chrono::day{static_cast<unsigned>(local.tm_mday)}};
}

void prepareStandardStreams() { ::signal(SIGPIPE, SIG_IGN); }

bool standardInputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace vemora::standin

// The plugin's clock: the C library's signature; it must never throw.
static_assert(sizeof(time_t) == 8, "the plugin reads a 64-bit clock: build with _TIME_BITS=64");
extern "C" time_t time(time_t* out) noexcept {
    const time_t now = vemora::standin::pinnedDate() ? vemora::standin::pinnedMoment : vemora::standin::realNow();
    if (out != nullptr) *out = now;
    return now;
}
