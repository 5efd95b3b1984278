// Icon groups read from the module as Windows keeps them: an RT_GROUP_ICON
// directory naming RT_ICON images by id. Each image is checked twice: its own
// header says its size and depth, and the system must make an icon of it of
// that size; the group as a whole must load with LoadImage, as the messenger
// loads it to draw it.
#include <windows.h>

#include <cstring>

#include "icon_resources.h"
#include "wide_text_windows.h"

namespace vemora::standin {

namespace {

#pragma pack(push, 1)
struct GroupDirectory {
    uint16_t reserved;
    uint16_t type;  // 1: icons
    uint16_t count;
};
struct GroupEntry {
    uint8_t width;
    uint8_t height;
    uint8_t colours;
    uint8_t reserved;
    uint16_t planes;
    uint16_t bitCount;
    uint32_t bytes;
    uint16_t id;
};
#pragma pack(pop)
static_assert(sizeof(GroupDirectory) == 6);
static_assert(sizeof(GroupEntry) == 14);

// The resource types, by number: the SDK's names are narrow without UNICODE.
const wchar_t* const TYPE_ICON = MAKEINTRESOURCEW(3);
const wchar_t* const TYPE_GROUP_ICON = MAKEINTRESOURCEW(14);

struct ResourceBytes {
    const uint8_t* data = nullptr;
    DWORD size = 0;
};

std::optional<ResourceBytes> findResource(HMODULE module, uint32_t id, const wchar_t* type, std::string& failure) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (found == nullptr) {
        failure = "not in the module (" + systemErrorText(GetLastError()) + ")";
        return std::nullopt;
    }
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded == nullptr ? nullptr : LockResource(loaded);
    if (data == nullptr) {
        failure = "cannot be loaded (" + systemErrorText(GetLastError()) + ")";
        return std::nullopt;
    }
    return ResourceBytes{static_cast<const uint8_t*>(data), SizeofResource(module, found)};
}

uint32_t bigEndian32(const uint8_t* bytes) {
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
}

// Size and depth from the image's own header: a BITMAPINFOHEADER (whose
// height counts the colour and the mask rows) or a PNG's IHDR.
bool readImageHeader(const ResourceBytes& bytes, IconImage& image) {
    static const uint8_t PNG_SIGNATURE[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size >= 29 && std::memcmp(bytes.data, PNG_SIGNATURE, sizeof PNG_SIGNATURE) == 0) {
        image.png = true;
        image.width = static_cast<int>(bigEndian32(bytes.data + 16));
        image.height = static_cast<int>(bigEndian32(bytes.data + 20));
        const int depth = bytes.data[24];
        const int colourType = bytes.data[25];
        const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
        image.bitsPerPixel = depth * channels;
        return true;
    }
    BITMAPINFOHEADER header;
    if (bytes.size < sizeof header) return false;
    std::memcpy(&header, bytes.data, sizeof header);
    if (header.biSize < sizeof header) return false;
    image.width = header.biWidth;
    image.height = header.biHeight / 2;
    image.bitsPerPixel = header.biBitCount * header.biPlanes;
    return true;
}

// What the system makes of the image: the size of the icon it creates.
std::string makeIcon(const ResourceBytes& bytes, const IconImage& image) {
    HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(bytes.data), bytes.size, TRUE, 0x00030000, image.width,
                                          image.height, LR_DEFAULTCOLOR);
    if (icon == nullptr) return "the system cannot make an icon of it (" + systemErrorText(GetLastError()) + ")";
    std::string failure;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) {
        failure = "the system made an icon it cannot describe";
    } else {
        BITMAP bitmap{};
        HBITMAP shown = info.hbmColor != nullptr ? info.hbmColor : info.hbmMask;
        if (GetObjectW(shown, sizeof bitmap, &bitmap) == 0) {
            failure = "the system made an icon it cannot describe";
        } else {
            // A monochrome icon keeps mask and image in one bitmap of double height.
            const int height = info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2;
            if (bitmap.bmWidth != image.width || height != image.height) {
                failure = "the system made a " + std::to_string(bitmap.bmWidth) + "x" + std::to_string(height) +
                          " icon of it";
            }
        }
        if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
        if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
    }
    DestroyIcon(icon);
    return failure;
}

}  // namespace

bool readsIconResources() { return true; }

std::optional<IconGroup> loadIconGroup(void* handle, uint32_t resource) {
    IconGroup group;
    const auto module = static_cast<HMODULE>(handle);
    if (resource == 0 || resource > 0xFFFF) {
        group.failure = "resource " + std::to_string(resource) + " is not a resource number";
        return group;
    }
    const std::optional<ResourceBytes> directory = findResource(module, resource, TYPE_GROUP_ICON, group.failure);
    if (!directory) return group;
    GroupDirectory head;
    if (directory->size < sizeof head) {
        group.failure = "its directory has " + std::to_string(directory->size) + " bytes";
        return group;
    }
    std::memcpy(&head, directory->data, sizeof head);
    if (head.reserved != 0 || head.type != 1 || directory->size < sizeof head + head.count * sizeof(GroupEntry)) {
        group.failure = "its directory is not an icon group of " + std::to_string(head.count) + " images";
        return group;
    }
    for (uint16_t i = 0; i < head.count; ++i) {
        GroupEntry entry;
        std::memcpy(&entry, directory->data + sizeof head + i * sizeof entry, sizeof entry);
        IconImage image;
        image.resource = entry.id;
        // What the directory says, until the image's own header says otherwise.
        image.width = entry.width == 0 ? 256 : entry.width;
        image.height = entry.height == 0 ? 256 : entry.height;
        image.bitsPerPixel = entry.bitCount;
        const std::optional<ResourceBytes> bytes = findResource(module, entry.id, TYPE_ICON, image.failure);
        if (bytes) {
            if (!readImageHeader(*bytes, image)) {
                image.failure = "image " + std::to_string(entry.id) + " has no image header";
            } else {
                image.failure = makeIcon(*bytes, image);
            }
        } else {
            image.failure = "image " + std::to_string(entry.id) + " is " + image.failure;
        }
        group.images.push_back(image);
    }
    HANDLE whole = LoadImageW(module, MAKEINTRESOURCEW(resource), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE);
    if (whole == nullptr) {
        group.failure = "LoadImage cannot load it (" + systemErrorText(GetLastError()) + ")";
    } else {
        DestroyIcon(static_cast<HICON>(whole));
    }
    return group;
}

}  // namespace vemora::standin
