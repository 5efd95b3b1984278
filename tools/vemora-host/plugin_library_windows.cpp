// Loading Vemora.dll as the messenger does: LoadLibrary, then the export by
// its decorated stdcall name.
#include <windows.h>

#include "clock_override.h"
#include "host_error.h"
#include "plugin_library.h"
#include "wide_text_windows.h"

namespace vemora::standin {

namespace {

constexpr const char* ENTRY_POINT = wire::EXPORT_NAME_DLL;

class DynamicLinkLibrary : public PluginLibrary {
public:
    explicit DynamicLinkLibrary(const std::string& path) {
        // No error boxes: a library that cannot load is reported on the console.
        const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        module_ = LoadLibraryW(widePath(path).c_str());
        const DWORD error = GetLastError();
        SetErrorMode(oldMode);
        if (module_ == nullptr) throw HostError("cannot load the plugin " + path + ": " + systemErrorText(error));
        FARPROC symbol = GetProcAddress(module_, ENTRY_POINT);
        if (symbol == nullptr) {
            FreeLibrary(module_);
            throw HostError("the plugin " + path + " has no " + ENTRY_POINT);
        }
        entry_ = reinterpret_cast<wire::MessageProc>(reinterpret_cast<void*>(symbol));
        try {
            attachPluginClock(module_);
        } catch (...) {
            FreeLibrary(module_);
            throw;
        }
    }
    ~DynamicLinkLibrary() override {
        detachPluginClock(module_);
        FreeLibrary(module_);
    }
    DynamicLinkLibrary(const DynamicLinkLibrary&) = delete;
    DynamicLinkLibrary& operator=(const DynamicLinkLibrary&) = delete;

    wire::MessageProc entryPoint() const override { return entry_; }
    void* moduleHandle() const override { return module_; }

private:
    HMODULE module_ = nullptr;
    wire::MessageProc entry_ = nullptr;
};

}  // namespace

std::unique_ptr<PluginLibrary> openPluginLibrary(const std::string& path) {
    // LoadLibrary searches the DLL search path for a bare name; a file is meant here.
    const bool bare = path.find_first_of("/\\:") == std::string::npos;
    return std::make_unique<DynamicLinkLibrary>(bare ? ".\\" + path : path);
}

std::string defaultPluginPath() {
    std::wstring self(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
        if (length == 0) return "Vemora.dll";
        if (length < self.size()) {
            self.resize(length);
            break;
        }
        self.resize(self.size() * 2);
    }
    const size_t slash = self.find_last_of(L"\\/");
    const std::wstring directory = slash == std::wstring::npos ? std::wstring() : self.substr(0, slash + 1);
    return wideToUtf8(directory).value_or(std::string()) + "Vemora.dll";
}

}  // namespace vemora::standin
