// The structure line of a static model's report.
#include <gtest/gtest.h>

#include "exchange/StructureText.h"

TEST(StructureText, TermsOfTheInputsAndTheFreeTerm) {
    const struct {
        int inputs;
        bool freeTerm;
        const char* text;
    } cases[] = {
        {1, false, "y=A1*X1 "},
        {1, true, "y=A1*X1 + A0"},
        {2, true, "y=A1*X1 + A2*X2 + A0"},
        {3, false, "y=A1*X1 + A2*X2 + A3*X3 "},
    };
    for (const auto& c : cases) EXPECT_EQ(staticStructureText(c.inputs, c.freeTerm), c.text) << c.inputs;
}
