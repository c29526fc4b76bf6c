#pragma once
// File names made from user text (series titles, model and interval names).
#include <string>
#include <string_view>

// The name with every '/', '\', ':', '*', '?', '"', '<', '>', '|' and control character
// replaced by '_', cut to at most 200 bytes on a character boundary; an empty name, "."
// and ".." get a leading '_'. The result is always usable as one file name.
std::string safeFileName(std::string_view name);
