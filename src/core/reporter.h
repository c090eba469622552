#pragma once
// How core code tells the user what it is doing. The main window implements
// it (status line, progress bar on the status line, hourglass cursor, message
// processing); tests use a recording fake; the command-line tool prints.

#include <string>

// Kinds of ShowSystemMessage.
inline constexpr int kMessageSuccess = -1;
inline constexpr int kMessageError = 1;
inline constexpr int kMessageInfo = 0;

class Reporter {
public:
    virtual ~Reporter() = default;

    // text and detail are CP1251; the line shows "  text  detail".
    virtual void ShowSystemMessage(const std::string& text, const std::string& detail, int kind) = 0;

    // A progress bar on the status line from 0 to maximum, with the busy cursor.
    virtual void BeginProgress(int maximum) = 0;
    virtual void StepProgress() = 0;
    virtual void EndProgress() = 0;

    // Busy cursor without a progress bar (loading, saving).
    virtual void SetBusy(bool busy) = 0;

    // Lets the user interface repaint during a long loop.
    virtual void ProcessMessages() = 0;
};

// Reports nowhere; for callers that have no user interface.
class NullReporter : public Reporter {
public:
    void ShowSystemMessage(const std::string&, const std::string&, int) override {}
    void BeginProgress(int) override {}
    void StepProgress() override {}
    void EndProgress() override {}
    void SetBusy(bool) override {}
    void ProcessMessages() override {}
};
