// The codec through glibc's iconv (its 32-bit conversion modules come with
// libc6-i386).
#include <errno.h>
#include <iconv.h>

#include <stdexcept>

#include "text_codec.h"

namespace vemora::standin {

namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {
        if (descriptor_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to +
                                     " (are the gconv modules installed?)");
        }
    }
    ~Converter() { iconv_close(descriptor_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> convert(std::string_view text) {
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);  // fresh shift state
        std::string out(text.size() * 4 + 4, '\0');
        char* in = const_cast<char*>(text.data());
        size_t inLeft = text.size();
        char* outPos = out.data();
        size_t outLeft = out.size();
        if (iconv(descriptor_, &in, &inLeft, &outPos, &outLeft) == static_cast<size_t>(-1)) return std::nullopt;
        if (iconv(descriptor_, nullptr, nullptr, &outPos, &outLeft) == static_cast<size_t>(-1)) return std::nullopt;
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t descriptor_;
};

}  // namespace

std::optional<std::string> cp1250ToUtf8(std::string_view text) {
    static Converter converter("UTF-8", "CP1250");
    return converter.convert(text);
}

std::optional<std::string> utf8ToCp1250(std::string_view text) {
    static Converter converter("CP1250", "UTF-8");
    return converter.convert(text);
}

}  // namespace vemora::standin
