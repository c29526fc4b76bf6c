#pragma once
// Fragments: named time intervals of the process with a type (bad, good and four further
// kinds) that decides their colour; the list of fragments that the fragment chart owns,
// with its change event; and the marking of a new fragment by a mouse drag along the
// time axis, as a state machine fed with axis values by the chart widget.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Colours as $00BBGGRR.
constexpr int32_t kFragmentWhite = 0x00FFFFFF;
// Colour of a fragment type: 0 light red (bad), 1 light green (good), 2 light yellow,
// 3 light blue, 4 light violet, 5 grey; any other type white.
int32_t fragmentTypeColor(int type);

class TFragment {
public:
    std::string name;
    long double startPoint = 0;
    long double endPoint = 0;
    // The chart draws the fragment only when set.
    bool paint = false;
    // Fill colour of the band, $00BBGGRR.
    int32_t color = kFragmentWhite;

    // Empty name, both times 0, type 0, white, not painted.
    TFragment() = default;
    // Type (its colour from the table), paint flag, start and end.
    TFragment(uint8_t type, bool paint, long double start, long double end);
    // As above, not painted.
    TFragment(uint8_t type, long double start, long double end);
    // Type 0 but white, not painted.
    TFragment(long double start, long double end);

    uint8_t typeOfFragments() const { return FtypeOfFragments; }
    // Stores the type and sets the colour from the table.
    void setTypeOfFragments(uint8_t type);

    // Copies name, times, type, paint flag and, last, the colour (so a colour that differs
    // from the type's survives).
    void assign(const TFragment& source);

private:
    uint8_t FtypeOfFragments = 0;
};

using arrayOfFragment = std::vector<TFragment>;

// The ends of an interval to be made, in days.
struct TFragmentSpan {
    long double start = 0;
    long double end = 0;
};

// A series cut into consecutive intervals of n points each (x are its times in order): the
// first from x[0] to x[n-1], the next from x[n] to x[2n-1], and so on; points left after the
// last full interval make one more, shorter interval. n below 1 counts as 1.
std::vector<TFragmentSpan> equalIntervals(const std::vector<double>& x, int n);

// Mouse buttons as the chart widget reports them.
enum class TMouseButton { Left, Right, Middle };

// Screen cursors the marking asks for.
constexpr int kCursorDefault = 0;
constexpr int kCursorHSplit = -14;

// The chart's fragments in the order of creation, the settings for fragments made by the
// mouse and the state of a mouse drag. Every add, change and delete fires OnChangeFragments
// and then OnRepaint.
class TFragmentList {
public:
    arrayOfFragment fragments;
    // Type and paint flag given to fragments that the mouse creates.
    uint8_t typeOfCurFragments = 0;
    bool paintOfCurFragments = false;
    // The mouse may create fragments.
    bool fragmentsOn = false;

    // Mouse drag state: a drag is under way, its start and its end (axis values).
    bool holdCheck = false;
    double x1 = 0;
    double x2 = 0;
    // The screen cursor the chart should show (kCursorDefault or kCursorHSplit).
    int cursor = kCursorDefault;

    std::function<void()> OnChangeFragments;
    std::function<void()> OnRepaint;

    int numOfFragments() const { return static_cast<int>(fragments.size()); }

    // Appends a fragment of typeOfCurFragments and paintOfCurFragments named
    // "Интервал " + the new count.
    void addFragment(long double start, long double end);
    // Appends a painted fragment with that name and type.
    void addFragment(const std::string& name, uint8_t type, long double start, long double end);
    // Many fragments in one change: one OnChangeFragments and one repaint at the end (none
    // when the batch is empty). Spans become fragments of the current type and paint flag
    // named as the single addFragment names them, counting on from the list's length.
    void addFragments(const std::vector<TFragmentSpan>& spans);
    // Named fragments, painted, with their names, types and times (as the named addFragment).
    void addFragments(const arrayOfFragment& named);
    // Rewrites name, times and type (colour from the table) of fragment i; the paint flag
    // stays. Repaints, then doChangeFragments. An index out of range does nothing.
    void changeFragment(int i, const std::string& name, uint8_t type, long double start, long double end);
    // Removes fragment i; an index out of range does nothing.
    void delFragment(int i);
    // Removes all; with no fragments nothing happens (no event).
    void delAllFragment();
    // Fires OnChangeFragments, then OnRepaint.
    virtual void doChangeFragments();

    // A number that stays with fragment i while it is in the list (0 for an index out of
    // range), so a window editing it finds it again after other fragments were deleted.
    uint64_t idAt(int i) const;
    // Index of the fragment with that number; -1 when it was deleted.
    int indexOfId(uint64_t id) const;
    // The numbers of all fragments in list order (0 for one put into the list by hand).
    std::vector<uint64_t> ids() const;

    // Mouse press at axis value cursorX (taken from the chart's last series), with the
    // bottom axis showing [axisMin, axisMax]. Nothing happens when the chart has no series.
    void chartMouseDown(TMouseButton button, bool hasSeries, double cursorX, double axisMin, double axisMax);
    // Mouse release of any button: ends a drag and adds the fragment it marked when it
    // covers more than one value.
    void chartMouseUp(TMouseButton button, bool hasSeries, double cursorX, double axisMin, double axisMax);

    virtual ~TFragmentList() = default;

private:
    void append(TFragment&& f);
    std::vector<uint64_t> ids_;
    uint64_t nextId_ = 1;
};

// A value clamped to the axis range: below the minimum the minimum, above the maximum the
// maximum.
double clampToAxis(double x, double axisMin, double axisMax);
// The band of a fragment on an axis showing [axisMin, axisMax]: false when it is not
// drawn (not painted, or not reaching strictly into the range); otherwise its ends clamped
// to the range.
bool fragmentBand(const TFragment& f, double axisMin, double axisMax, double& left, double& right);
