#pragma once
// What the device routines reach of the device dialog: its speed slider, its
// port choice, its progress frame, its report text, its message boxes and the
// message loop. The dialog implements it; tests record the calls; the
// command-line tool answers from its arguments. Status-line messages go
// through the Reporter, not through this. Texts are CP1251.

#include <string>
#include <utility>

inline constexpr int kSpeedMin = 1;
inline constexpr int kSpeedMax = 20;
inline constexpr int kSpeedDefault = 10;

enum class MessageIcon { Information, Error };

class DeviceControls {
public:
    virtual ~DeviceControls() = default;

    // TB_Speed's position, kSpeedMin..kSpeedMax.
    virtual int SpeedPosition() const = 0;
    // The text of CB_ComPorts: the number of the chosen port.
    virtual std::string PortChoiceText() const = 0;
    // The port an operation is about to use; the dialog keeps it as the
    // configuration's ComPort.
    virtual void UsePort(int number) = 0;

    // The dialog's own EnableWriteControls and EnableReadControls: off while
    // an operation runs (progress frame shown, busy cursor, poll stopped).
    virtual void EnableWriteControls(bool on) = 0;
    virtual void EnableReadControls(bool on) = 0;
    // LB_DeviceStatus and the end colour (#rrggbb) of CHG_DeviceStatus's gradient.
    virtual void ShowDeviceStatus(const std::string& text, const std::string& gradientEnd) = 0;

    // PB_DeviceStatus: 0..maximum at 0, step 1.
    virtual void StartProgress(int maximum) = 0;
    // Changes the maximum, keeps the position.
    virtual void SetProgressMaximum(int maximum) = 0;
    virtual void StepProgress() = 0;
    // Position := maximum.
    virtual void FillProgress() = 0;

    // MEMO_Report.
    virtual std::string ReportText() const = 0;
    virtual void SetReportText(const std::string& text) = 0;

    virtual void ShowMessageBox(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    // Lets the window repaint between cells and blocks.
    virtual void ProcessMessages() = 0;
};

// Controls without a window: a fixed speed, port and report text; the report
// text read from the device is kept; progress, boxes and the rest go nowhere.
// For the command-line tool and the benchmarks.
class FixedDeviceControls : public DeviceControls {
public:
    FixedDeviceControls(int speed, int port, std::string reportText = {})
        : speed_(speed), port_(port), report_(std::move(reportText)) {}

    int SpeedPosition() const override { return speed_; }
    std::string PortChoiceText() const override { return std::to_string(port_); }
    void UsePort(int) override {}
    void EnableWriteControls(bool) override {}
    void EnableReadControls(bool) override {}
    void ShowDeviceStatus(const std::string&, const std::string&) override {}
    void StartProgress(int) override {}
    void SetProgressMaximum(int) override {}
    void StepProgress() override {}
    void FillProgress() override {}
    std::string ReportText() const override { return report_; }
    void SetReportText(const std::string& text) override { report_ = text; }
    void ShowMessageBox(const std::string&, const std::string&, MessageIcon) override {}
    void ProcessMessages() override {}

    void SetSpeed(int speed) { speed_ = speed; }

private:
    int speed_;
    int port_;
    std::string report_;
};
