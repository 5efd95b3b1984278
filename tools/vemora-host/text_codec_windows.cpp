// The codec through Windows' own code page tables. Windows maps the five
// bytes that code page 1250 leaves undefined to the C1 control characters
// of the same number, where iconv refuses them; they are refused here too,
// so that both builds of the stand-in read and write the same texts.
#include <windows.h>

#include <climits>

#include "text_codec.h"
#include "wide_text_windows.h"

namespace vemora::standin {

namespace {

constexpr UINT CODE_PAGE_1250 = 1250;

bool undefinedIn1250(unsigned char byte) {
    return byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 || byte == 0x98;
}

bool holdsUndefinedByte(std::string_view text) {
    for (const char c : text)
        if (undefinedIn1250(static_cast<unsigned char>(c))) return true;
    return false;
}

std::optional<std::wstring> cp1250ToWide(std::string_view text) {
    if (text.empty()) return std::wstring();
    if (text.size() > INT_MAX) return std::nullopt;
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CODE_PAGE_1250, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (needed <= 0) return std::nullopt;
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    if (MultiByteToWideChar(CODE_PAGE_1250, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), needed) !=
        needed) {
        return std::nullopt;
    }
    return wide;
}

}  // namespace

std::optional<std::string> cp1250ToUtf8(std::string_view text) {
    if (holdsUndefinedByte(text)) return std::nullopt;
    const std::optional<std::wstring> wide = cp1250ToWide(text);
    if (!wide) return std::nullopt;
    return wideToUtf8(*wide);
}

std::optional<std::string> utf8ToCp1250(std::string_view text) {
    const std::optional<std::wstring> wide = utf8ToWide(text);
    if (!wide) return std::nullopt;
    if (wide->empty()) return std::string();
    if (wide->size() > INT_MAX) return std::nullopt;
    const int length = static_cast<int>(wide->size());
    BOOL usedDefault = FALSE;
    const int needed = WideCharToMultiByte(CODE_PAGE_1250, WC_NO_BEST_FIT_CHARS, wide->data(), length, nullptr, 0,
                                           nullptr, &usedDefault);
    if (needed <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(CODE_PAGE_1250, WC_NO_BEST_FIT_CHARS, wide->data(), length, out.data(), needed, nullptr,
                            &usedDefault) != needed ||
        usedDefault) {
        return std::nullopt;
    }
    // A character with no byte of its own (a best fit the flag did not stop)
    // would not come back the same: refuse it as iconv does.
    if (holdsUndefinedByte(out) || cp1250ToWide(out) != wide) return std::nullopt;
    return out;
}

}  // namespace vemora::standin
