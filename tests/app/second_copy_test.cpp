// The single-instance refusal across two processes: the built program runs
// as the first copy, and this test process starts the main window as the
// second one, with the real lock and the real message box.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "config.h"
#include "main_form.h"
#include "temp_dir.h"

namespace {

class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~EnvironmentVariable() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

TEST(SecondCopy, IsRefusedWithItsMessageBox) {
    TempDir lockFolder, firstFolder, secondFolder;
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(lockFolder.Path()));
    first.setProcessEnvironment(env);
    first.setWorkingDirectory(QString::fromStdString(firstFolder.Path()));
    first.start(QStringLiteral(VESTORIN_PROGRAM), {});
    ASSERT_TRUE(first.waitForStarted(30000));
    // The configuration is read after the lock is taken, so its file shows the first copy holds it.
    const std::string firstConfig = firstFolder.File(kConfigFileName);
    for (int i = 0; i < 600 && !std::filesystem::exists(firstConfig); ++i) QTest::qWait(100);
    ASSERT_TRUE(std::filesystem::exists(firstConfig)) << "the first copy did not start";
    ASSERT_EQ(first.state(), QProcess::Running);

    EnvironmentVariable runtime("XDG_RUNTIME_DIR", QByteArray::fromStdString(lockFolder.Path()));
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        }
    });
    closer.start();
    CfgClass config(secondFolder.Path());
    {
        ScopedCurrentDir cwd(secondFolder.Path());
        TMainForm second(config);
        EXPECT_TRUE(second.Refused());
    }
    closer.stop();
    EXPECT_EQ(text, QStringLiteral("Разрешен запуск только одной копии программы!"));
    EXPECT_EQ(title, QStringLiteral("Внимание!"));
    EXPECT_EQ(icon, QMessageBox::Critical);

    first.kill();
    first.waitForFinished(30000);
}

}  // namespace
