#pragma once
// File-system helpers shared by every writer and reader of the system's files: atomic file
// writes, folders made unique by creating them and whole text files read with the encoding
// fallback. Paths are UTF-8 strings.
// Every function reports a failure through its result and an optional Russian error text;
// none throws.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SafeFileName.h"

// safeFileName (a file name made from user text) lives in core/SafeFileName.h.

// `base` if it is not in use, else base + "(" + n + ")" with the smallest n >= 1 that is
// free; `taken` tells whether a candidate is in use.
std::string uniqueName(const std::string& base, const std::function<bool(const std::string&)>& taken);

// Writes `contents` to `path` atomically: into a temporary file in the same folder,
// flushed to disk, then renamed over the target. On failure the temporary file is removed,
// the old target is untouched and `error` (when given) holds a Russian text.
bool writeFileAtomic(const std::string& path, std::string_view contents, std::string* error = nullptr);

// Writes `contents` to a new file `path` (replacing one of that name) and flushes it to
// disk. Used for files inside a staging folder that is renamed into place as a whole.
bool writeFileDurable(const std::string& path, std::string_view contents, std::string* error = nullptr);

// Flushes a folder's entries (renames, new files) to disk; failures are ignored.
void syncFolder(const std::string& path);

// Creates the folder `base`, or base + "(" + n + ")" for n = firstNumber, firstNumber + 1, ...
// when a folder or file of the tried name exists, up to `maxTries` names in all. Returns the
// folder created, or nullopt with `error` set when the bound is reached or creating fails
// for any other reason (missing parent, no permission, invalid name).
std::optional<std::string> createUniqueFolder(const std::string& base, int maxTries = 1000,
                                              std::string* error = nullptr, int firstNumber = 1);

// Reads a whole file as text (decodeTextChecked): UTF-8 as it is, Windows-1251 when it is
// not UTF-8. `damagedLine` gets the line of the first byte a UTF-8 text could not decode
// (0 when there is none). nullopt with `error` set when the file is missing or cannot be read.
std::optional<std::string> readTextFile(const std::string& path, std::string* error = nullptr,
                                        size_t* damagedLine = nullptr);

// Splits a text into lines at LF, removing one CR before each LF; a final empty line after
// the last line end is not returned.
std::vector<std::string_view> splitLines(std::string_view text);

// The last component of a path and the folder before it (without a trailing separator).
std::string fileNameOf(const std::string& path);
std::string folderOf(const std::string& path);
// A file name without its last extension ("a.b.prj" gives "a.b", "abc" gives "abc").
std::string withoutLastExtension(const std::string& fileName);
