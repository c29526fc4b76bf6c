#include "exchange/StructureText.h"

std::string staticStructureText(int inputs, bool freeTerm) {
    std::string text = "y=A1*X1 ";
    for (int i = 2; i <= inputs; ++i) text += "+ A" + std::to_string(i) + "*X" + std::to_string(i) + " ";
    if (freeTerm) text += "+ A0";
    return text;
}
