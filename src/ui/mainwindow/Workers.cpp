#include "ui/mainwindow/Workers.h"

#include <QEventLoop>
#include <new>

#include "ui/mainwindow/TForm3.h"

BusyFrame::BusyFrame(QWidget* window, TForm3* busy) : window_(window), busy_(busy) {
    if (window_) window_->setEnabled(false);
    if (busy_) busy_->showOver(window_);
}

BusyFrame::~BusyFrame() {
    if (busy_ && busy_->isVisible()) busy_->hide();
    if (window_) window_->setEnabled(true);
}

std::string TWorkerThread::failureText() const {
    if (!failure) return {};
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return "недостаточно памяти";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "неизвестная ошибка";
    }
}

void TWorkerThread::run() {
    failure = nullptr;
    try {
        execute();
    } catch (...) {
        failure = std::current_exception();
    }
}

void TOneMoreThread::execute() {
    if (FOnExecute) FOnExecute(fileName);
}

void TloadThread::execute() {
    if (FOnExecute) FOnExecute(name);
}

void TJustProcedureThread::execute() {
    if (FOnExecuteProcedure) FOnExecuteProcedure();
    if (FOnExecuteFunction) functionResult = FOnExecuteFunction();
    if (FOnExecuteProcedure2) FOnExecuteProcedure2(way);
}

bool runInBusyFrame(QWidget* window, TForm3* busy, TWorkerThread& thread) {
    BusyFrame frame(window, busy);
    QEventLoop loop;
    QObject::connect(&thread, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread.start(QThread::NormalPriority);
    if (!thread.isFinished()) loop.exec();
    thread.wait();
    return !thread.failure;
}
