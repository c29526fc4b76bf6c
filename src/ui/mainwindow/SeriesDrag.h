#pragma once
// Series dragged from the workspace tree of series. The drag carries its own MIME type,
// so drop targets accept exactly the drags that come from that tree, and it carries the
// stable ids of the series, never pointers.
#include <QMimeData>
#include <cstdint>
#include <optional>
#include <vector>

inline constexpr char kSeriesMimeType[] = "application/x-tarvolyn-series";

struct SeriesDrag {
    // The primary (current) series.
    uint64_t primary = 0;
    // All selected series in the order in which they were selected.
    std::vector<uint64_t> selected;
};

// True for a drag that came from the series tree.
bool isSeriesDrag(const QMimeData* mime);
// The payload; nullopt for any other drag, a damaged payload or one from another process.
std::optional<SeriesDrag> decodeSeriesDrag(const QMimeData* mime);
// A MIME object for the payload (the caller owns it).
QMimeData* encodeSeriesDrag(const SeriesDrag& drag);
