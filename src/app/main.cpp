#include <QApplication>
#include <cstdio>

#include "Cp1251.h"
#include "DevicePorts.h"
#include "config.h"
#include "main_form.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("База домофонных ключей"));
    // [PORTS] of the start folder's configuration, --emulate-device, --emulate-port, --bus-trace.
    DeviceSession devicePorts;
    std::string error;
    if (!SetUpSerialPorts(CfgClass().ConfigPath(), argc, argv, devicePorts, error))
        std::fprintf(stderr, "vestorin: %s\n", cp1251::ToUtf8(error).c_str());
    TMainForm form;
    form.showMaximized();
    return app.exec();
}
