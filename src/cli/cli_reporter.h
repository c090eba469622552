#pragma once
// The status line of vestorin-cli: errors go to the error stream, other
// messages to the output, each as "text  detail" in UTF-8. Progress and the
// busy cursor have no counterpart on a terminal.

#include "cli_common.h"
#include "reporter.h"

class CliReporter : public Reporter {
public:
    explicit CliReporter(CliContext& io) : io_(io) {}

    void ShowSystemMessage(const std::string& text, const std::string& detail, int kind) override;
    void BeginProgress(int) override {}
    void StepProgress() override {}
    void EndProgress() override {}
    void SetBusy(bool) override {}
    void ProcessMessages() override {}

private:
    CliContext& io_;
};
