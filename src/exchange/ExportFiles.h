#pragma once
// File-system calls of the CSV export, in one place.
#include <optional>
#include <string>
#include <string_view>

namespace csvfs {

std::string safeFileName(std::string_view name);
bool writeFileAtomic(const std::string& path, std::string_view contents, std::string* error);
// Creates base, or base(n) for n = firstNumber, firstNumber + 1, ... while the name exists.
std::optional<std::string> createUniqueFolder(const std::string& base, int firstNumber, std::string* error);
bool pathExists(const std::string& path);
std::string fileNameOf(const std::string& path);
std::string folderOf(const std::string& path);
std::string withoutLastExtension(const std::string& fileName);

}  // namespace csvfs
