#include "exchange/ExportFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace csvfs {

std::string safeFileName(std::string_view name) {
    std::string out;
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        const bool bad = c < 0x20 || c == 0x7F || ch == '/' || ch == '\\' || ch == ':' || ch == '*' ||
                         ch == '?' || ch == '"' || ch == '<' || ch == '>' || ch == '|';
        out += bad ? '_' : ch;
    }
    if (out.find_first_not_of('.') == std::string::npos) out.insert(0, "_");
    return out;
}

bool writeFileAtomic(const std::string& path, std::string_view contents, std::string* error) {
    const std::string tmp = path + ".tmp";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int err = 0;
    bool ok = fd >= 0;
    if (!ok) err = errno;
    while (ok && !contents.empty()) {
        const ssize_t w = ::write(fd, contents.data(), contents.size());
        if (w < 0) {
            if (errno == EINTR) continue;
            err = errno;
            ok = false;
            break;
        }
        contents.remove_prefix(static_cast<size_t>(w));
    }
    if (fd >= 0 && ::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        if (error) *error = "Не удалось записать файл \"" + path + "\": " + std::strerror(err);
    }
    return ok;
}

std::optional<std::string> createUniqueFolder(const std::string& base, int firstNumber, std::string* error) {
    for (int n = firstNumber - 1; n < firstNumber + 1000; ++n) {
        const std::string candidate = n == firstNumber - 1 ? base : base + "(" + std::to_string(n) + ")";
        if (::mkdir(candidate.c_str(), 0755) == 0) return candidate;
        if (errno != EEXIST) {
            if (error) *error = "Не удалось создать папку \"" + candidate + "\": " + std::strerror(errno);
            return std::nullopt;
        }
    }
    if (error) *error = "Не удалось создать папку \"" + base + "\"";
    return std::nullopt;
}

bool pathExists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {};
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string withoutLastExtension(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

}  // namespace csvfs
