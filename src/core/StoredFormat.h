#pragma once
// Numbers and date-times in the system's stored files (project folders, model files): one
// fixed format whatever the locale — decimal comma, "dd.mm.yyyy h:mm:ss", the date alone at
// exactly midnight, ",zzz" only when the milliseconds are not zero — read tolerantly
// (comma or point, one- or two-digit hour, milliseconds, INF and NAN).
// The append functions give exactly floatToStr/dateTimeToStr with FormatSettings::stored(),
// without allocating, for files of millions of points.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numerics/FormatSettings.h"

void appendStoredFloat(std::string& out, double x);
void appendStoredFloat(std::string& out, long double x);
void appendStoredDateTime(std::string& out, TDateTime t);

std::optional<double> readStoredFloat(std::string_view s);
std::optional<TDateTime> readStoredDateTime(std::string_view s);
// A decimal integer with an optional sign and surrounding blanks, in the range of int.
std::optional<int> readStoredInt(std::string_view s);

// The fields of a stored line: the texts between ";" separators; the empty text after a
// final ";" is not a field, and a last field without its ";" still counts.
std::vector<std::string_view> storedFields(std::string_view line);
// Takes the first ";"-terminated field off the front of `line`: `field` gets the text before
// the first ";", and that text and the ";" are removed from `line`. False, with `field`
// empty and `line` unchanged, when the line holds no ";".
bool nextField(std::string& line, std::string& field);
// The text before the first ";" of a line, or the whole line when it holds no ";".
std::string_view firstField(std::string_view line);
// A line with its final ";" (when there is one) removed: the single field of a one-field
// line, which may itself hold ";".
std::string_view wholeField(std::string_view line);
// The fields of a line of a stored layout, where every field is ended by ";" and nothing
// follows the last ";": nullopt when text follows it (a field without its ";", or a line
// joined to the next). An empty line holds no fields.
std::optional<std::vector<std::string_view>> endedFields(std::string_view line);
// The one field of a line that holds exactly one ";"-ended field, else nullopt.
std::optional<std::string_view> onlyField(std::string_view line);
// The text of a line that is one ";"-ended field which may itself hold ";" (a name), else
// nullopt.
std::optional<std::string_view> endedLine(std::string_view line);
// True when a text holds a control character, which no line of a stored file holds (the
// writers turn them into blanks): one in a name read back is damage, not the stored name.
bool hasControlCharacter(std::string_view text);
// User text made fit for one field of a stored line: every ";" becomes "," and every
// control character (line breaks included) a blank.
std::string fieldText(std::string_view text);
// User text made fit for a line of its own: control characters become blanks.
std::string lineText(std::string_view text);
