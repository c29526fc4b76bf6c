#include "ui/widgets/SeriesDropTarget.h"

#include <QAbstractItemView>
#include <QDropEvent>
#include <QPointer>

#include "ui/mainwindow/SeriesDrag.h"

namespace {

class SeriesDropFilter : public QObject {
public:
    SeriesDropFilter(QObject* parent, TForm1& form, SeriesDropHandler onDrop)
        : QObject(parent), form_(&form), onDrop_(std::move(onDrop)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (isSeriesDrag(drag->mimeData())) {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!form_ || !isSeriesDrag(drop->mimeData())) {
                drop->ignore();
                return true;
            }
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            if (const auto dropped = form_->droppedSeries(drop->mimeData())) onDrop_(*dropped);
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    QPointer<TForm1> form_;
    SeriesDropHandler onDrop_;
};

}  // namespace

void acceptSeriesDrops(QWidget* target, TForm1& form, SeriesDropHandler onDrop) {
    if (!target) return;
    QWidget* surface = target;
    if (auto* view = qobject_cast<QAbstractItemView*>(target)) {
        view->setDragDropMode(QAbstractItemView::DropOnly);
        surface = view->viewport();
    }
    surface->setAcceptDrops(true);
    target->setAcceptDrops(true);
    surface->installEventFilter(new SeriesDropFilter(target, form, std::move(onDrop)));
}
