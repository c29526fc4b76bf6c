#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "core/FileSystem.h"

namespace {

// The project folder writes stems made by safeFileName into its file and reads them back
// through it, so a safe name must come back unchanged.
TEST(FileSystem, SafeFileNamesAreFixedPoints) {
    std::string longName;
    for (int i = 0; i < 150; ++i) longName += "ж";
    for (const std::string name : {"м3/ч", "..", "", "a\\b:c", "line\nbreak", "T(1)", "Расход"}) {
        const std::string once = safeFileName(name);
        EXPECT_EQ(safeFileName(once), once) << name;
    }
    const std::string cut = safeFileName(longName);
    EXPECT_EQ(safeFileName(cut), cut);
}

TEST(FileSystem, UniqueFolderIsCreated) {
    TempDir dir;
    const auto a = createUniqueFolder(dir / "p");
    const auto b = createUniqueFolder(dir / "p");
    writeBytes(dir / "p(2)", "a file takes the name too");
    const auto c = createUniqueFolder(dir / "p");
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(*a, dir / "p");
    EXPECT_EQ(*b, dir / "p(1)");
    EXPECT_EQ(*c, dir / "p(3)");
    EXPECT_TRUE(std::filesystem::is_directory(*c));

    std::string error;
    EXPECT_FALSE(createUniqueFolder(dir / "p", 3, &error));
    EXPECT_NE(error.find("заняты"), std::string::npos) << error;
    // A missing parent is no name collision: reported at once.
    error.clear();
    EXPECT_FALSE(createUniqueFolder(dir / "missing/p", 1000, &error));
    EXPECT_NE(error.find("Не удалось создать папку"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

TEST(FileSystem, AtomicWriteReplacesAndLeavesNoTemporaryFile) {
    TempDir dir;
    ASSERT_TRUE(writeFileAtomic(dir / "f.txt", "old"));
    ASSERT_TRUE(writeFileAtomic(dir / "f.txt", "new\r\n"));
    EXPECT_EQ(readBytes(dir / "f.txt"), "new\r\n");
    int files = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path)) (void)e, ++files;
    EXPECT_EQ(files, 1);
    std::string error;
    EXPECT_FALSE(writeFileAtomic(dir / "no/such/f.txt", "x", &error));
    EXPECT_NE(error.find("Не удалось записать файл"), std::string::npos);
}

TEST(FileSystem, TextFilesDecodeUtf8OrWindows1251) {
    TempDir dir;
    writeBytes(dir / "u.txt", "\xEF\xBB\xBFРасход");
    writeBytes(dir / "w.txt", "\xD0\xE0\xF1\xF5\xEE\xE4");  // "Расход" in Windows-1251
    EXPECT_EQ(readTextFile(dir / "u.txt"), "Расход");
    EXPECT_EQ(readTextFile(dir / "w.txt"), "Расход");
    std::string error;
    EXPECT_FALSE(readTextFile(dir / "none.txt", &error));
    EXPECT_FALSE(error.empty());
}

TEST(FileSystem, LinesAndPathParts) {
    const auto lines = splitLines("a\r\nb\n\r\nc");
    EXPECT_EQ(lines, (std::vector<std::string_view>{"a", "b", "", "c"}));
    EXPECT_EQ(splitLines("a\r\n").size(), 1u);
    EXPECT_TRUE(splitLines("").empty());
    EXPECT_EQ(withoutLastExtension("a.b.prj"), "a.b");
    EXPECT_EQ(withoutLastExtension("abc"), "abc");
    EXPECT_EQ(fileNameOf("/w/p/p.prj"), "p.prj");
    EXPECT_EQ(folderOf("/w/p/p.prj"), "/w/p");
    EXPECT_EQ(folderOf("/p.prj"), "/");
}

}  // namespace
