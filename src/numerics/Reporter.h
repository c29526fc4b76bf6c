#pragma once
// How engines speak to the user. Engines never show windows: they call a Reporter, which
// the GUI implements with message boxes on the GUI thread and tests implement by recording.
#include <deque>
#include <string>
#include <vector>

class Reporter {
public:
    virtual ~Reporter() = default;
    // A plain message box.
    virtual void message(const std::string& text) = 0;
    // An error dialog.
    virtual void error(const std::string& text) = 0;
    // An information dialog.
    virtual void information(const std::string& text) = 0;
    // A warning with OK and Cancel; true only for OK.
    virtual bool confirmation(const std::string& text) = 0;
};

// Says nothing and answers OK; for callers that have no user to talk to.
class SilentReporter : public Reporter {
public:
    void message(const std::string&) override {}
    void error(const std::string&) override {}
    void information(const std::string&) override {}
    bool confirmation(const std::string&) override { return true; }
    static SilentReporter& instance();
};

// Records every text in order, with its kind, and answers confirmations from a script
// (OK when the script is empty).
class RecordingReporter : public Reporter {
public:
    enum class Kind { Message, Error, Information, Confirmation };
    struct Entry {
        Kind kind;
        std::string text;
    };
    std::vector<Entry> entries;
    std::deque<bool> answers;

    void message(const std::string& text) override { entries.push_back({Kind::Message, text}); }
    void error(const std::string& text) override { entries.push_back({Kind::Error, text}); }
    void information(const std::string& text) override { entries.push_back({Kind::Information, text}); }
    bool confirmation(const std::string& text) override {
        entries.push_back({Kind::Confirmation, text});
        if (answers.empty()) return true;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    // The texts alone, in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& e : entries) t.push_back(e.text);
        return t;
    }
    void clear() { entries.clear(); }
};
