#include "file_io.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "host_error.h"

namespace vemora::standin {

std::filesystem::path utf8Path(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(utf8Path(path), error);
    if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
    if (error) throw HostError("cannot read " + path + ": " + error.message());
    if (std::filesystem::is_directory(status)) throw HostError("cannot read " + path + ": it is a directory");
    std::ifstream in(utf8Path(path), std::ios::binary);
    if (!in) throw HostError("cannot read " + path);
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) throw HostError("cannot read " + path);
    return content.str();
}

void replaceWholeFile(const std::string& path, const std::string& content) {
    const std::string temporary = path + ".new";
    {
        std::ofstream out(utf8Path(temporary), std::ios::binary | std::ios::trunc);
        out << content;
        out.flush();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(utf8Path(temporary), ignored);
            throw HostError("cannot write " + temporary);
        }
    }
    std::string reason;
    if (!replaceFile(temporary, path, reason)) {
        std::error_code ignored;
        std::filesystem::remove(utf8Path(temporary), ignored);
        throw HostError("cannot replace " + path + ": " + reason);
    }
}

}  // namespace vemora::standin
