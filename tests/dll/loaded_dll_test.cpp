// The product itself, loaded the way the host loads it: LoadLibrary, then
// GetProcAddress of "_IMessageProc@4", called through a standard-convention
// pointer. A wrong calling convention would unbalance the stack on return.
// Its resources too, read through the module as Windows reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "entry_call.h"
#include "vemora_version.h"
#include "wire/ids.h"

namespace vemora::testing {
namespace {

// Resource types by number: the SDK's RT_ names are narrow without UNICODE.
const wchar_t* const TYPE_ICON = MAKEINTRESOURCEW(3);
const wchar_t* const TYPE_GROUP_ICON = MAKEINTRESOURCEW(14);

std::pair<const uint8_t*, DWORD> resourceBytes(HMODULE module, uint16_t id, const wchar_t* type) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    HGLOBAL loaded = found == nullptr ? nullptr : LoadResource(module, found);
    const void* data = loaded == nullptr ? nullptr : LockResource(loaded);
    return {static_cast<const uint8_t*>(data), data == nullptr ? 0 : SizeofResource(module, found)};
}

// Width and height of an icon the system made, from its bitmaps.
std::pair<LONG, LONG> iconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {0, 0};
    BITMAP bitmap{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    // A monochrome icon keeps image and mask in one bitmap of double height.
    const LONG height = info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2;
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, height};
}

class LoadedDll : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryA(VEMORA_DLL_PATH);
        ASSERT_NE(module, nullptr) << VEMORA_DLL_PATH << ": error " << GetLastError();
        entry = reinterpret_cast<wire::MessageProc>(
            reinterpret_cast<void*>(GetProcAddress(module, wire::EXPORT_NAME_DLL)));
        ASSERT_NE(entry, nullptr);
    }
    void TearDown() override {
        if (module != nullptr) FreeLibrary(module);
    }

    uint32_t send(uint32_t id, uint32_t p1 = 0, uint16_t size = 30) { return callEntry(entry, id, p1, size); }

    HMODULE module = nullptr;
    wire::MessageProc entry = nullptr;
};

TEST_F(LoadedDll, AnswersIdentityThroughTheDecoratedExport) {
    EXPECT_EQ(send(wire::MSG_INFO_NET), 139u);
    EXPECT_EQ(send(wire::MSG_INFO_TYPE, 0, 22), 145u);
    EXPECT_EQ(textAt(send(wire::MSG_INFO_VERSION)), VEMORA_VERSION_TEXT);
    EXPECT_EQ(textAt(send(wire::MSG_INFO_SIGNATURE)), "Vem");
    EXPECT_EQ(textAt(send(wire::MSG_INFO_NAME)), "Vemora");
    EXPECT_EQ(send(wire::MSG_QUERY_20020), 2u);
}

TEST_F(LoadedDll, TheExportRemovesItsOwnArgument) {
    // The standard convention: the callee pops its one 4-byte argument, so
    // the stack pointer after the call equals the one before the push.
    const wire::MessageRecord record{{sizeof(wire::MessageRecord), wire::MSG_INFO_NET, 0, wire::HOST_NET, 0, 0}, 0, 0};
    uint32_t result = 0;
    int32_t drift = 0;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "pushl %[record]\n\t"
        "call *%[function]\n\t"
        "movl %%esp, %[drift]\n\t"
        "subl %%esi, %[drift]\n\t"
        "movl %%esi, %%esp\n\t"
        : "=a"(result), [drift] "=&r"(drift)
        : [function] "r"(entry), [record] "r"(&record)
        : "ecx", "edx", "esi", "memory", "cc");
    EXPECT_EQ(result, 139u);
    EXPECT_EQ(drift, 0);
}

TEST_F(LoadedDll, OnlyTheDecoratedNameIsExported) {
    EXPECT_EQ(GetProcAddress(module, "IMessageProc"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "IMessageProc@4"), nullptr);
    EXPECT_NE(GetProcAddress(module, MAKEINTRESOURCEA(1)), nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(1))), reinterpret_cast<void*>(entry));
}

TEST_F(LoadedDll, UnhandledIdBeforeInitIsAnsweredZero) {
    EXPECT_EQ(send(30014), 0u);
    EXPECT_EQ(send(30015, 0, 22), 0u);
}

// The groups the plugin registers, as the host loads them through the module
// handle: each image checked in the group's directory, in its own bitmap
// header and as an icon the system makes of it, then the group with LoadImage.
TEST_F(LoadedDll, IconGroupsLoadFromTheModule) {
    const std::pair<uint32_t, std::vector<uint16_t>> groups[] = {{wire::ICON_RESOURCE_PLUGIN, {4, 8, 24}},
                                                                 {wire::ICON_RESOURCE_BIRTHDAYS, {8}}};
    for (const auto& [group, depths] : groups) {
        SCOPED_TRACE("icon group " + std::to_string(group));
        const auto [directory, size] = resourceBytes(module, static_cast<uint16_t>(group), TYPE_GROUP_ICON);
        ASSERT_NE(directory, nullptr) << "error " << GetLastError();
        uint16_t head[3];  // reserved, type (1: icons), count
        ASSERT_GE(size, sizeof head);
        std::memcpy(head, directory, sizeof head);
        EXPECT_EQ(head[0], 0);
        EXPECT_EQ(head[1], 1);
        ASSERT_EQ(size, sizeof head + 14u * head[2]);
        std::vector<uint16_t> listed, drawn;
        for (uint16_t i = 0; i < head[2]; ++i) {
            const uint8_t* entry = directory + sizeof head + 14 * i;  // w, h, colours, 0, planes, bits, bytes, id
            uint16_t bits, id;
            std::memcpy(&bits, entry + 6, 2);
            std::memcpy(&id, entry + 12, 2);
            EXPECT_EQ(std::make_pair(entry[0], entry[1]), std::make_pair(uint8_t{16}, uint8_t{16})) << "image " << i;
            listed.push_back(bits);
            const auto [image, bytes] = resourceBytes(module, id, TYPE_ICON);
            BITMAPINFOHEADER header{};
            ASSERT_GE(bytes, sizeof header) << "image " << id;
            std::memcpy(&header, image, sizeof header);
            EXPECT_EQ(std::make_pair(header.biWidth, header.biHeight), std::make_pair(LONG{16}, LONG{32}))
                << "image " << id << " (its height counts the mask)";
            drawn.push_back(static_cast<uint16_t>(header.biBitCount * header.biPlanes));
            HICON made = CreateIconFromResourceEx(const_cast<PBYTE>(image), bytes, TRUE, 0x00030000, 16, 16, 0);
            ASSERT_NE(made, nullptr) << "image " << id << ": error " << GetLastError();
            EXPECT_EQ(iconSize(made), std::make_pair(LONG{16}, LONG{16})) << "image " << id;
            DestroyIcon(made);
        }
        EXPECT_EQ(listed, depths);
        EXPECT_EQ(drawn, depths);
        HANDLE loaded = LoadImageW(module, MAKEINTRESOURCEW(group), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR);
        ASSERT_NE(loaded, nullptr) << "error " << GetLastError();
        EXPECT_EQ(iconSize(static_cast<HICON>(loaded)), std::make_pair(LONG{16}, LONG{16}));
        DestroyIcon(static_cast<HICON>(loaded));
    }
}

// The loaded file's version block through the version API, as the file's
// properties show it: the build's version, one Polish UTF-16 translation.
TEST_F(LoadedDll, VersionBlockReadsAsWindowsShowsIt) {
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(module, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    ASSERT_GT(size, 0u) << "error " << GetLastError();
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));

    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    const WORD words[] = {VEMORA_VERSION_WORDS};
    const DWORD high = MAKELONG(words[1], words[0]), low = MAKELONG(words[3], words[2]);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileType, DWORD{VFT_DLL});

    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);  // exactly one language and code page
    EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x0415);  // Polish
    EXPECT_EQ(static_cast<const WORD*>(value)[1], 1200);    // UTF-16

    // The Polish letters by code point, whatever the source file's encoding:
    // \u017C is z with dot above, \u0142 l with stroke, \u0144 n with acute.
    // wchar_t is UTF-16 here, so each is the one unit 0x017C, 0x0142, 0x0144.
    static_assert(sizeof(wchar_t) == 2 && L"\u017C"[0] == 0x017C);
    const std::wstring description =
        L"Wtyczka sprawdza kto obchodzi urodziny i umo\u017Cliwia szybkie wysy\u0142anie \u017Cycze\u0144 urodzinowych";
    const std::wstring wordsText = L"" VEMORA_VERSION_WORDS_TEXT;
    const std::pair<const wchar_t*, std::wstring> strings[] = {
        {L"FileDescription", description},  {L"Comments", description},
        {L"FileVersion", wordsText},       {L"ProductVersion", wordsText},
        {L"InternalName", L"Vemora"},       {L"OriginalFilename", L"Vemora.dll"},
        {L"LegalCopyright", L"" VEMORA_LICENSE_COPYRIGHT},
        {L"CompanyName", L""},              {L"LegalTrademarks", L""},
        {L"ProductName", L""},              {L"PrivateBuild", L""},
        {L"SpecialBuild", L""}};
    for (const auto& [name, expected] : strings) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\041504b0\\") + name;
        value = nullptr;
        length = 0;
        EXPECT_TRUE(VerQueryValueW(block.data(), query.c_str(), &value, &length)) << name << " is missing";
        std::wstring text = value == nullptr ? std::wstring() : std::wstring(static_cast<const wchar_t*>(value), length);
        while (!text.empty() && text.back() == L'\0') text.pop_back();  // the length may count the closing NUL
        EXPECT_EQ(text, expected) << name;
    }
}

}  // namespace
}  // namespace vemora::testing
