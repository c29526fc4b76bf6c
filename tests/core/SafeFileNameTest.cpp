#include <gtest/gtest.h>

#include "core/SafeFileName.h"

namespace {

TEST(SafeFileName, ReplacesWhatCannotStandInAFileName) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"Y1", "Y1"},
        {"a/b\\c:d", "a_b_c_d"},
        {"*?\"<>|", "______"},
        {"tab\there", "tab_here"},
        {"Расход пара", "Расход пара"},
        {"", "_"},
        {".", "_."},
        {"..", "_.."},
        {"...", "..."},
    };
    for (const auto& c : cases) EXPECT_EQ(safeFileName(c.in), c.out) << c.in;
}

TEST(SafeFileName, LongNamesAreCutOnACharacterBoundary) {
    std::string name;
    for (int i = 0; i < 150; ++i) name += "Ж";  // two bytes each
    const std::string out = safeFileName(name);
    EXPECT_EQ(out.size(), 200u);
    std::string ascii(300, 'a');
    ascii[0] = 'x';
    EXPECT_EQ(safeFileName(ascii).size(), 200u);
    // An odd cut backs up to the start of the character.
    const std::string odd = "a" + name;
    const std::string cut = safeFileName(odd);
    EXPECT_EQ(cut.size(), 199u);
    EXPECT_EQ(cut.substr(0, 3), "aЖ");
}

}  // namespace
