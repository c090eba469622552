#pragma once
// A Reporter that remembers everything it was told, for tests of core code.

#include <string>
#include <vector>

#include "reporter.h"

class RecordingReporter : public Reporter {
public:
    struct Message {
        std::string text, detail;
        int kind;
    };

    void ShowSystemMessage(const std::string& text, const std::string& detail, int kind) override {
        messages.push_back({text, detail, kind});
    }
    void BeginProgress(int maximum) override {
        ++progressBegun;
        progressMaximum = maximum;
        progressSteps = 0;
        progressOpen = true;
    }
    void StepProgress() override { ++progressSteps; }
    void EndProgress() override { progressOpen = false; }
    void SetBusy(bool busy) override { busyCalls.push_back(busy); }
    void ProcessMessages() override { ++processed; }

    const Message& Last() const { return messages.back(); }

    std::vector<Message> messages;
    std::vector<bool> busyCalls;
    int progressBegun = 0, progressMaximum = -1, progressSteps = 0, processed = 0;
    bool progressOpen = false;
};
