#include "file_io.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "host_error.h"

namespace vemora::standin {

std::filesystem::path utf8Path(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::string utf8Name(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

std::string systemReason(int errorNumber) { return std::generic_category().message(errorNumber); }

std::optional<std::string> readWholeFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(utf8Path(path), error);
    if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
    if (error) throw HostError("cannot read " + path + ": " + error.message());
    // Said here in the same words on every system (Windows would refuse to open it as "Permission denied").
    if (std::filesystem::is_directory(status)) throw HostError("cannot read " + path + ": " + systemReason(EISDIR));
    errno = 0;
    std::ifstream in(utf8Path(path), std::ios::binary);
    if (!in) throw HostError("cannot read " + path + ": " + systemReason(errno != 0 ? errno : EIO));
    // Straight into the text at its full size: a state file may be tens of
    // megabytes, read on every run. A file still growing is read to its end.
    std::string content(static_cast<size_t>(std::filesystem::file_size(utf8Path(path), error)), '\0');
    if (error) content.clear();
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    content.resize(static_cast<size_t>(in.gcount()));
    if (in && in.peek() != std::char_traits<char>::eof()) {
        std::string rest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        content += rest;
    }
    if (in.bad()) throw HostError("cannot read " + path + ": " + systemReason(EIO));
    return content;
}

std::string readExistingFile(const std::string& path) {
    std::optional<std::string> content = readWholeFile(path);
    if (!content) throw HostError("cannot read " + path + ": " + systemReason(ENOENT));
    return std::move(*content);
}

std::filesystem::path followLinks(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error)) || error) return current;
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error) return current;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    throw HostError("cannot write " + utf8Name(path) + ": too many symbolic links (a loop?)");
}

void replaceWholeFile(const std::string& path, std::string_view content, const WriteStop* stop) {
    const std::filesystem::path target = followLinks(utf8Path(path));
    std::filesystem::path temporary = target;
    temporary += ".new";

    std::optional<std::filesystem::perms> permissions;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(target, error);
    if (!error && std::filesystem::exists(status)) permissions = status.permissions() & std::filesystem::perms::mask;

    try {
        if (stop != nullptr && stop->afterBytes) {
            writeDurably(temporary, content.substr(0, *stop->afterBytes), permissions);
            throw WriteStopped{};
        }
        writeDurably(temporary, content, permissions);
    } catch (const HostError&) {
        std::filesystem::remove(temporary, error);
        throw;
    }
    if (stop != nullptr) throw WriteStopped{};
    std::string reason;
    if (!replaceFile(temporary, target, reason)) {
        std::filesystem::remove(temporary, error);
        throw HostError("cannot replace " + path + ": " + reason);
    }
}

}  // namespace vemora::standin
