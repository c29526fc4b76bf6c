#pragma once
// Long operations on worker threads. A worker runs only plain work on plain data; its
// exception, if any, is kept and handed back. The GUI thread waits for it inside a busy
// frame (main window disabled, busy window shown) in a local event loop, so the window
// keeps painting, and applies the result itself afterwards.
#include <QPointer>
#include <QThread>
#include <exception>
#include <functional>
#include <string>

class TForm3;

// Disables the window and shows the busy window; on destruction, always (also when the
// work throws), hides the busy window if it is visible and enables the window again.
class BusyFrame {
public:
    BusyFrame(QWidget* window, TForm3* busy);
    ~BusyFrame();
    BusyFrame(const BusyFrame&) = delete;
    BusyFrame& operator=(const BusyFrame&) = delete;

private:
    QPointer<QWidget> window_;
    QPointer<TForm3> busy_;
};

// Base of the three worker kinds: runs execute() and keeps what it throws.
class TWorkerThread : public QThread {
    Q_OBJECT
public:
    explicit TWorkerThread(QObject* parent = nullptr) : QThread(parent) {}
    // What execute() threw, or null.
    std::exception_ptr failure;
    // The text of the failure ("" when none).
    std::string failureText() const;

protected:
    void run() final;
    virtual void execute() = 0;
};

// Opens a workbook: the work reads `fileName` into plain data that the caller then puts
// into the data grid on the GUI thread.
class TOneMoreThread : public TWorkerThread {
    Q_OBJECT
public:
    std::string fileName;
    std::function<void(const std::string& fileName)> FOnExecute;

protected:
    void execute() override;
};

// Loads a project: calls FOnExecute with `name` when it is assigned.
class TloadThread : public TWorkerThread {
    Q_OBJECT
public:
    std::function<void(const std::string& str)> FOnExecute;
    std::string name;

protected:
    void execute() override;
};

// Saves a project: calls FOnExecuteProcedure, FOnExecuteFunction and FOnExecuteProcedure2
// with `way`, in this order, each when assigned. The function's result is kept.
class TJustProcedureThread : public TWorkerThread {
    Q_OBJECT
public:
    std::function<void()> FOnExecuteProcedure;
    std::function<void(const std::string& saveWay)> FOnExecuteProcedure2;
    std::function<bool()> FOnExecuteFunction;
    std::string way;
    bool functionResult = false;

protected:
    void execute() override;
};

// Runs the thread at normal priority inside a busy frame and returns when it has finished.
// Returns false when the work threw; `thread.failure` then holds what it threw.
bool runInBusyFrame(QWidget* window, TForm3* busy, TWorkerThread& thread);
