#pragma once
// The device dialog's controls as a test sees them: a speed, a port choice and
// a report text to hand out, and a log of what the device routines did with
// the rest, in order.

#include <algorithm>
#include <string>
#include <vector>

#include "Cp1251.h"
#include "device_controls.h"

class RecordingControls : public DeviceControls {
public:
    struct Box {
        std::string text, caption;  // UTF-8
        MessageIcon icon;
    };

    int SpeedPosition() const override { return speed; }
    std::string PortChoiceText() const override { return portText; }
    void UsePort(int number) override { Log("UsePort " + std::to_string(number)); }
    void EnableWriteControls(bool on) override { Log(on ? "EnableWriteControls on" : "EnableWriteControls off"); }
    void EnableReadControls(bool on) override { Log(on ? "EnableReadControls on" : "EnableReadControls off"); }
    void ShowDeviceStatus(const std::string& text, const std::string& gradientEnd) override {
        Log("Status " + cp1251::ToUtf8(text) + " " + gradientEnd);
    }
    void StartProgress(int maximum) override {
        progressMaximum = maximum;
        progressPosition = 0;
        Log("Progress " + std::to_string(maximum));
    }
    void SetProgressMaximum(int maximum) override {
        progressMaximum = maximum;
        Log("Maximum " + std::to_string(maximum));
    }
    void StepProgress() override {
        ++steps;
        progressPosition = std::min(progressPosition + 1, progressMaximum);
    }
    void FillProgress() override { progressPosition = progressMaximum; }
    std::string ReportText() const override { return report; }
    void SetReportText(const std::string& text) override {
        report = text;
        ++reportSet;
    }
    void ShowMessageBox(const std::string& text, const std::string& caption, MessageIcon icon) override {
        boxes.push_back({cp1251::ToUtf8(text), cp1251::ToUtf8(caption), icon});
    }
    void ProcessMessages() override { ++processed; }

    int speed = kSpeedMax;
    std::string portText = "1";
    std::string report;  // CP1251
    int reportSet = 0;

    std::vector<std::string> log;  // UTF-8
    std::vector<Box> boxes;
    int steps = 0, processed = 0, progressMaximum = -1, progressPosition = 0;

private:
    void Log(std::string entry) { log.push_back(std::move(entry)); }
};
