#pragma once
// Whole files as bytes, for the tests that compare what was written byte for byte.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every entry under a folder by relative path: a file with its bytes, a folder as "<dir>".
inline std::map<std::string, std::string> fileTree(const std::filesystem::path& root) {
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        out[std::filesystem::relative(e.path(), root).string()] = e.is_regular_file() ? readBytes(e.path()) : "<dir>";
    return out;
}

// An expected page of tests/data/reports, kept there with LF endings; the reports end their
// lines with CR LF.
inline std::string expectedReportPage(const std::string& name) {
    std::string crlf;
    for (char ch : readBytes(std::filesystem::path(TARVOLYN_TEST_DATA) / "reports" / name)) {
        if (ch == '\n' && (crlf.empty() || crlf.back() != '\r')) crlf += '\r';
        crlf += ch;
    }
    return crlf;
}
