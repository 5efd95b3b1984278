// Windows: Vemora.dll loaded as the messenger loads it (LoadLibrary, then
// the export by its decorated stdcall name). The plugin reads the date with
// KERNEL32's GetLocalTime through its import address table; while a date is
// pinned that slot holds this file's function, and unpinning or unloading
// puts the system's back. Nothing outside the plugin's module is touched.
// Arguments come from the wide command line and output is written as bytes,
// so that the output is the Linux build's byte for byte.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <climits>
#include <cstring>

#include "host_error.h"
#include "platform.h"

namespace vemora::standin {

namespace {

std::string wideToUtf8(const wchar_t* text, int length) {
    const int needed = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), needed, nullptr, nullptr);
    return out;
}

std::wstring widePath(const std::string& utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) return std::wstring();
    const int length = static_cast<int>(utf8.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(needed > 0 ? needed : 0), L'\0');
    if (needed > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), needed);
    return wide;
}

std::string systemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = length > 0 && buffer != nullptr ? wideToUtf8(buffer, static_cast<int>(length)) : "";
    if (buffer != nullptr) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
        text.pop_back();
    }
    return text.empty() ? "system error " + std::to_string(code) : text;
}

// --- the pinned clock ----------------------------------------------------------

std::optional<CivilDate> pinned;

void WINAPI pinnedLocalTime(SYSTEMTIME* now) {
    if (now == nullptr || !pinned) return;
    *now = SYSTEMTIME{};
    now->wYear = static_cast<WORD>(static_cast<int>(pinned->year()));
    now->wMonth = static_cast<WORD>(static_cast<unsigned>(pinned->month()));
    now->wDay = static_cast<WORD>(static_cast<unsigned>(pinned->day()));
    now->wDayOfWeek = static_cast<WORD>(std::chrono::weekday{std::chrono::sys_days{*pinned}}.c_encoding());
    now->wHour = 12;
}

// The slots of the module's import address table that hold `function` of `library`.
std::vector<void**> importSlots(HMODULE module, const char* library, const char* function) {
    std::vector<void**> slots;
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (base == nullptr || dos->e_magic != IMAGE_DOS_SIGNATURE) return slots;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC) return slots;
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0 || imports.Size == 0) return slots;
    for (auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
        // The names live in the lookup table; the loader has overwritten the
        // address table with addresses.
        if (_stricmp(reinterpret_cast<const char*>(base + descriptor->Name), library) != 0 ||
            descriptor->OriginalFirstThunk == 0) {
            continue;
        }
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA32*>(base + descriptor->OriginalFirstThunk);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + descriptor->FirstThunk);
        for (size_t i = 0; names[i].u1.AddressOfData != 0; ++i) {
            if (IMAGE_SNAP_BY_ORDINAL32(names[i].u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
                slots.push_back(reinterpret_cast<void**>(&addresses[i].u1.Function));
            }
        }
    }
    return slots;
}

void* writeSlot(void** slot, void* address) {
    DWORD oldProtection = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &oldProtection)) return nullptr;
    void* previous = *slot;
    *slot = address;
    VirtualProtect(slot, sizeof *slot, oldProtection, &oldProtection);
    FlushInstructionCache(GetCurrentProcess(), slot, sizeof *slot);
    return previous;
}

HMODULE plugin = nullptr;
std::vector<std::pair<void**, void*>> redirections;  // slot, the system's function

bool redirectPlugin() {
    if (plugin == nullptr || !redirections.empty()) return true;
    for (void** slot : importSlots(plugin, "kernel32.dll", "GetLocalTime")) {
        if (void* original = writeSlot(slot, reinterpret_cast<void*>(&pinnedLocalTime))) {
            redirections.emplace_back(slot, original);
        }
    }
    return !redirections.empty();
}

void restorePlugin() {
    for (const auto& [slot, original] : redirections) writeSlot(slot, original);
    redirections.clear();
}

class DynamicLinkLibrary : public PluginLibrary {
public:
    explicit DynamicLinkLibrary(const std::string& path) {
        // LoadLibrary searches the DLL search path for a bare name; a file is meant here.
        const bool bare = path.find_first_of("/\\:") == std::string::npos;
        // No error boxes: a library that cannot load is reported on the console.
        const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        module_ = LoadLibraryW(widePath(bare ? ".\\" + path : path).c_str());
        const DWORD error = GetLastError();
        SetErrorMode(oldMode);
        if (module_ == nullptr) throw HostError("cannot load the plugin " + path + ": " + systemErrorText(error));
        FARPROC symbol = GetProcAddress(module_, wire::EXPORT_NAME_DLL);
        if (symbol == nullptr) {
            FreeLibrary(module_);
            throw HostError("cannot load the plugin " + path + ": it has no " + wire::EXPORT_NAME_DLL);
        }
        entry_ = reinterpret_cast<wire::MessageProc>(reinterpret_cast<void*>(symbol));
        restorePlugin();
        plugin = module_;
        if (pinned && !redirectPlugin()) {
            plugin = nullptr;
            FreeLibrary(module_);
            throw HostError("cannot pin the plugin's clock: the library does not import GetLocalTime");
        }
    }
    ~DynamicLinkLibrary() override {
        if (plugin == module_) {
            restorePlugin();
            plugin = nullptr;
        }
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
    return std::make_unique<DynamicLinkLibrary>(path);
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
    const std::wstring directory = self.substr(0, self.find_last_of(L"\\/") + 1);
    return wideToUtf8(directory.data(), static_cast<int>(directory.size())) + "Vemora.dll";
}

bool pinClock(std::optional<CivilDate> date) {
    if (!date) {
        pinned.reset();
        restorePlugin();
        return true;
    }
    if (!isPinnable(*date)) return false;
    const std::optional<CivilDate> before = pinned;
    pinned = date;
    if (!redirectPlugin()) {
        pinned = before;
        return false;
    }
    return true;
}

std::optional<CivilDate> pinnedDate() { return pinned; }

CivilDate clockToday() {
    if (pinned) return *pinned;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return CivilDate{std::chrono::year{now.wYear}, std::chrono::month{now.wMonth}, std::chrono::day{now.wDay}};
}

void prepareStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool standardInputIsTerminal() { return _isatty(_fileno(stdin)) != 0; }

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(wideToUtf8(wide[i], static_cast<int>(wcslen(wide[i]))));
    LocalFree(wide);
    return arguments;
}

}  // namespace vemora::standin
