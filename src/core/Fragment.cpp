#include "core/Fragment.h"

#include <algorithm>
#include <utility>

int32_t fragmentTypeColor(int type) {
    switch (type) {
        case 0: return 0x00BEB3FF;
        case 1: return 0x00D9FFC6;
        case 2: return 0x00C6FFF8;
        case 3: return 0x00FFF0C6;
        case 4: return 0x00FFC6EF;
        case 5: return 0x00D1D1D1;
        default: return kFragmentWhite;
    }
}

TFragment::TFragment(uint8_t type, bool paint_, long double start, long double end)
    : startPoint(start), endPoint(end), paint(paint_) {
    setTypeOfFragments(type);
}

TFragment::TFragment(uint8_t type, long double start, long double end) : TFragment(type, false, start, end) {}

TFragment::TFragment(long double start, long double end) : startPoint(start), endPoint(end) {
    setTypeOfFragments(0);
    color = kFragmentWhite;
}

void TFragment::setTypeOfFragments(uint8_t type) {
    FtypeOfFragments = type;
    color = fragmentTypeColor(type);
}

void TFragment::assign(const TFragment& source) {
    if (&source == this) return;
    name = source.name;
    startPoint = source.startPoint;
    endPoint = source.endPoint;
    setTypeOfFragments(source.typeOfFragments());
    paint = source.paint;
    color = source.color;
}

std::vector<TFragmentSpan> equalIntervals(const std::vector<double>& x, int n) {
    std::vector<TFragmentSpan> spans;
    const size_t count = x.size();
    const size_t len = n < 1 ? 1 : static_cast<size_t>(n);
    spans.reserve(count / len + 1);
    size_t start = 0;
    for (; count >= len && start <= count - len; start += len) spans.push_back({x[start], x[start + len - 1]});
    if (start < count) spans.push_back({x[start], x[count - 1]});
    return spans;
}

void TFragmentList::append(TFragment&& f) {
    // The numbers follow the fragments even where a caller filled the list by hand.
    ids_.resize(fragments.size(), 0);
    fragments.push_back(std::move(f));
    ids_.push_back(nextId_++);
}

void TFragmentList::addFragment(long double start, long double end) {
    TFragment f(typeOfCurFragments, paintOfCurFragments, start, end);
    f.name = "Интервал " + std::to_string(fragments.size() + 1);
    append(std::move(f));
    doChangeFragments();
}

void TFragmentList::addFragment(const std::string& name, uint8_t type, long double start, long double end) {
    TFragment f(type, true, start, end);
    f.name = name;
    append(std::move(f));
    doChangeFragments();
}

void TFragmentList::addFragments(const std::vector<TFragmentSpan>& spans) {
    if (spans.empty()) return;
    fragments.reserve(fragments.size() + spans.size());
    for (const TFragmentSpan& s : spans) {
        TFragment f(typeOfCurFragments, paintOfCurFragments, s.start, s.end);
        f.name = "Интервал " + std::to_string(fragments.size() + 1);
        append(std::move(f));
    }
    doChangeFragments();
}

void TFragmentList::addFragments(const arrayOfFragment& named) {
    if (named.empty()) return;
    fragments.reserve(fragments.size() + named.size());
    for (const TFragment& g : named) {
        TFragment f(g.typeOfFragments(), true, g.startPoint, g.endPoint);
        f.name = g.name;
        append(std::move(f));
    }
    doChangeFragments();
}

uint64_t TFragmentList::idAt(int i) const {
    if (i < 0 || i >= numOfFragments() || static_cast<size_t>(i) >= ids_.size()) return 0;
    return ids_[static_cast<size_t>(i)];
}

int TFragmentList::indexOfId(uint64_t id) const {
    if (id == 0) return -1;
    const size_t n = std::min(ids_.size(), fragments.size());
    for (size_t i = 0; i < n; ++i)
        if (ids_[i] == id) return static_cast<int>(i);
    return -1;
}

std::vector<uint64_t> TFragmentList::ids() const {
    std::vector<uint64_t> out = ids_;
    out.resize(fragments.size(), 0);
    return out;
}

void TFragmentList::changeFragment(int i, const std::string& name, uint8_t type, long double start,
                                   long double end) {
    if (i < 0 || i >= numOfFragments()) return;
    TFragment& f = fragments[static_cast<size_t>(i)];
    f.name = name;
    f.startPoint = start;
    f.endPoint = end;
    f.setTypeOfFragments(type);
    // The chart is repainted with the rewritten fragment before the change is told.
    if (OnRepaint) OnRepaint();
    doChangeFragments();
}

void TFragmentList::delFragment(int i) {
    if (i < 0 || i >= numOfFragments()) return;
    fragments.erase(fragments.begin() + i);
    if (static_cast<size_t>(i) < ids_.size()) ids_.erase(ids_.begin() + i);
    doChangeFragments();
}

void TFragmentList::delAllFragment() {
    if (fragments.empty()) return;
    fragments.clear();
    ids_.clear();
    doChangeFragments();
}

void TFragmentList::doChangeFragments() {
    if (OnChangeFragments) OnChangeFragments();
    if (OnRepaint) OnRepaint();
}

double clampToAxis(double x, double axisMin, double axisMax) {
    if (x < axisMin) return axisMin;
    if (x > axisMax) return axisMax;
    return x;
}

void TFragmentList::chartMouseDown(TMouseButton button, bool hasSeries, double cursorX, double axisMin,
                                   double axisMax) {
    if (!hasSeries) return;
    if (button == TMouseButton::Left && fragmentsOn) {
        x1 = clampToAxis(cursorX, axisMin, axisMax);
        holdCheck = true;
        cursor = kCursorHSplit;
    } else if (button == TMouseButton::Right && holdCheck) {
        x1 = 0;
        x2 = 0;
        holdCheck = false;
        cursor = kCursorDefault;
    }
}

void TFragmentList::chartMouseUp(TMouseButton, bool hasSeries, double cursorX, double axisMin, double axisMax) {
    if (!hasSeries || !holdCheck || !fragmentsOn) return;
    x2 = clampToAxis(cursorX, axisMin, axisMax);
    holdCheck = false;
    cursor = kCursorDefault;
    if (x2 != x1) {
        if (x2 < x1) std::swap(x1, x2);
        addFragment(x1, x2);
        if (OnRepaint) OnRepaint();
    }
}

bool fragmentBand(const TFragment& f, double axisMin, double axisMax, double& left, double& right) {
    if (!f.paint) return false;
    if (!(f.endPoint > axisMin && f.startPoint < axisMax)) return false;
    left = f.startPoint > axisMin ? static_cast<double>(f.startPoint) : axisMin;
    right = f.endPoint < axisMax ? static_cast<double>(f.endPoint) : axisMax;
    return true;
}
