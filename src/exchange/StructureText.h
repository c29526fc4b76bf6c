#pragma once
// The structure line of a static model in its report: the terms of the inputs and, with a
// free term, "+ A0"; shared by the pages that report static models.
#include <string>

// "y=A1*X1 " then "+ Ai*Xi " for each further input i, then "+ A0" with a free term:
// two inputs with a free term give "y=A1*X1 + A2*X2 + A0". The first term is always there.
std::string staticStructureText(int inputs, bool freeTerm);
