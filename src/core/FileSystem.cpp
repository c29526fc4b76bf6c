#include "core/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "numerics/TextCodec.h"

namespace fs = std::filesystem;

namespace {

void setError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

std::string systemText(int err) { return std::strerror(err); }

// Writes all bytes to an open descriptor; false with errno set on failure.
bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t w = ::write(fd, data.data(), data.size());
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(w));
    }
    return true;
}

// Creates `path` (O_EXCL when exclusive), writes and syncs it; closes it in every case.
bool writeAndSync(const std::string& path, std::string_view contents, bool exclusive, int& err) {
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC);
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        err = errno;
        return false;
    }
    bool ok = writeAll(fd, contents);
    if (!ok) err = errno;
    if (ok && ::fsync(fd) != 0) {
        err = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    return ok;
}

}  // namespace

std::string uniqueName(const std::string& base, const std::function<bool(const std::string&)>& taken) {
    if (!taken(base)) return base;
    for (long long n = 1;; ++n) {
        std::string candidate = base + "(" + std::to_string(n) + ")";
        if (!taken(candidate)) return candidate;
    }
}

bool writeFileDurable(const std::string& path, std::string_view contents, std::string* error) {
    int err = 0;
    if (writeAndSync(path, contents, false, err)) return true;
    setError(error, "Не удалось записать файл \"" + path + "\": " + systemText(err));
    return false;
}

bool writeFileAtomic(const std::string& path, std::string_view contents, std::string* error) {
    const std::string folder = folderOf(path);
    std::random_device rd;
    int err = EEXIST;
    for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
        std::string tmp = folder;
        if (!tmp.empty()) tmp += '/';
        tmp += '.';
        tmp += fileNameOf(path);
        tmp += ".tmp";
        tmp += std::to_string(rd() % 1000000);
        if (!writeAndSync(tmp, contents, true, err)) {
            if (err != EEXIST) ::unlink(tmp.c_str());
            continue;
        }
        if (::rename(tmp.c_str(), path.c_str()) != 0) {
            err = errno;
            ::unlink(tmp.c_str());
            break;
        }
        syncFolder(folder.empty() ? "." : folder);
        return true;
    }
    setError(error, "Не удалось записать файл \"" + path + "\": " + systemText(err));
    return false;
}

void syncFolder(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::optional<std::string> createUniqueFolder(const std::string& base, int maxTries, std::string* error,
                                              int firstNumber) {
    for (int n = 0; n < maxTries; ++n) {
        const std::string candidate = n == 0 ? base : base + "(" + std::to_string(firstNumber + n - 1) + ")";
        if (::mkdir(candidate.c_str(), 0755) == 0) return candidate;
        const int err = errno;
        if (err != EEXIST) {
            setError(error, "Не удалось создать папку \"" + candidate + "\": " + systemText(err));
            return std::nullopt;
        }
    }
    setError(error, "Не удалось создать папку \"" + base + "\": все имена от (" + std::to_string(firstNumber) +
                        ") до (" + std::to_string(firstNumber + maxTries - 2) + ") заняты");
    return std::nullopt;
}

std::optional<std::string> readTextFile(const std::string& path, std::string* error, size_t* damagedLine) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        setError(error, "Не удалось открыть файл \"" + path + "\": " + systemText(errno));
        return std::nullopt;
    }
    std::string bytes;
    char buf[1 << 16];
    for (;;) {
        const ssize_t r = ::read(fd, buf, sizeof buf);
        if (r < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            setError(error, "Не удалось прочитать файл \"" + path + "\": " + systemText(err));
            return std::nullopt;
        }
        if (r == 0) break;
        bytes.append(buf, static_cast<size_t>(r));
    }
    ::close(fd);
    DecodedText decoded = decodeTextChecked(std::move(bytes));
    if (damagedLine) *damagedLine = decoded.damagedLine;
    return std::move(decoded.text);
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        pos = next;
    }
    return lines;
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
