#include <QScreen>
#include <QStringList>
#include <cstdio>

#include "Cp1251.h"
#include "DevicePorts.h"
#include "application.h"
#include "config.h"
#include "main_form.h"
#include "widget_gallery.h"

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("База домофонных ключей"));

    bool gallery = false;
    for (const QString& arg : QCoreApplication::arguments().mid(1)) {
        if (arg == QLatin1String("--widget-gallery")) gallery = true;
        // Options this build does not know are passed over.
    }
    if (gallery) {
        CreateWidgetGallery()->show();
        return app.exec();
    }

    // The start folder is the current directory now, before any window.
    CfgClass config;
    // [PORTS] of the start folder's configuration, --emulate-device, --emulate-port, --bus-trace.
    DeviceSession devicePorts;
    std::string error;
    if (!SetUpSerialPorts(config.ConfigPath(), argc, argv, devicePorts, error))
        std::fprintf(stderr, "vestorin: %s\n", cp1251::ToUtf8(error).c_str());
    TMainForm form(config);
    // A second copy has shown its refusal and ends without a usable window.
    if (form.Refused()) return 0;
    // Without a window manager the maximise request goes unheard; start at full size all the same.
    form.setGeometry(form.screen()->availableGeometry());
    form.showMaximized();
    return app.exec();
}
