#include "ui/mainwindow/SeriesDrag.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>

bool isSeriesDrag(const QMimeData* mime) { return mime && mime->hasFormat(QLatin1String(kSeriesMimeType)); }

std::optional<SeriesDrag> decodeSeriesDrag(const QMimeData* mime) {
    if (!isSeriesDrag(mime)) return std::nullopt;
    QByteArray bytes = mime->data(QLatin1String(kSeriesMimeType));
    QDataStream in(&bytes, QIODevice::ReadOnly);
    SeriesDrag d;
    qint64 process = 0;
    quint64 primary = 0;
    quint32 n = 0;
    in >> process >> primary >> n;
    // Ids mean something only inside the process that made them.
    if (in.status() != QDataStream::Ok || process != QCoreApplication::applicationPid() || n > 1000000)
        return std::nullopt;
    d.primary = primary;
    d.selected.reserve(n);
    for (quint32 i = 0; i < n; ++i) {
        quint64 id = 0;
        in >> id;
        if (in.status() != QDataStream::Ok) return std::nullopt;
        d.selected.push_back(id);
    }
    return d;
}

QMimeData* encodeSeriesDrag(const SeriesDrag& drag) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << qint64(QCoreApplication::applicationPid()) << quint64(drag.primary) << quint32(drag.selected.size());
    for (uint64_t id : drag.selected) out << quint64(id);
    auto* mime = new QMimeData;
    mime->setData(QLatin1String(kSeriesMimeType), bytes);
    return mime;
}
