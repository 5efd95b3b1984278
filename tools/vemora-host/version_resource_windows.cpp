// GetFileVersionInfo on the loaded library's own file, then VerQueryValue for
// the fixed part, the first translation and its strings; the strings come
// as UTF-16 and are given as UTF-8.
#include <windows.h>

#include <cstdio>

#include "host_error.h"
#include "version_resource.h"
#include "wide_text_windows.h"

namespace vemora::standin {

namespace {

const wchar_t* const STRING_NAMES[] = {L"FileDescription", L"FileVersion",    L"Comments",
                                       L"InternalName",    L"OriginalFilename", L"LegalCopyright",
                                       L"CompanyName",     L"LegalTrademarks",  L"ProductName",
                                       L"ProductVersion",  L"PrivateBuild",     L"SpecialBuild"};

std::string dottedVersion(DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." + std::to_string(HIWORD(low)) +
           "." + std::to_string(LOWORD(low));
}

std::wstring modulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) throw HostError("cannot find the plugin's file: " + systemErrorText(GetLastError()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

std::optional<VersionResource> readVersionResource(void* handle) {
    const std::wstring path = modulePath(static_cast<HMODULE>(handle));
    VersionResource version;
    const size_t slash = path.find_last_of(L"\\/");
    version.file = wideToUtf8(slash == std::wstring::npos ? path : path.substr(slash + 1)).value_or("?");

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) throw HostError(version.file + " has no version block: " + systemErrorText(GetLastError()));
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) {
        throw HostError("cannot read the version block of " + version.file + ": " + systemErrorText(GetLastError()));
    }

    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), L"\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        version.fileVersion = dottedVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
        version.productVersion = dottedVersion(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
    }
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 4) {
        throw HostError("the version block of " + version.file + " lists no translation");
    }
    const auto* translation = static_cast<const WORD*>(value);
    version.language = translation[0];
    version.codePage = translation[1];

    wchar_t prefix[40];
    std::swprintf(prefix, 40, L"\\StringFileInfo\\%04x%04x\\", version.language, version.codePage);
    for (const wchar_t* name : STRING_NAMES) {
        const std::wstring query = std::wstring(prefix) + name;
        if (!VerQueryValueW(block.data(), query.c_str(), &value, &length)) continue;
        // The length counts characters, with the closing NUL when there is one.
        std::wstring_view text(static_cast<const wchar_t*>(value), length);
        while (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
        version.strings.emplace_back(wideToUtf8(name).value_or("?"), wideToUtf8(text).value_or("(not UTF-16)"));
    }
    return version;
}

}  // namespace vemora::standin
