#pragma once
// Whole files as bytes, for the tests that compare what was written byte for byte.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
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
