#include "main_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <clocale>
#include <filesystem>
#include <memory>

#include "Cp1251.h"
#include "app_title.h"
#include "manual_file.h"
#include "status_line.h"
#include "system_colors.h"
#include "temp_dir.h"

using namespace cp1251_literals;

namespace {

// Deferred deletions and the queued updates after them.
void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

class MainFormTest : public ::testing::Test {
protected:
    std::unique_ptr<TMainForm> Make() {
        MainFormHooks hooks;
        hooks.checkSingleInstance = [](const std::string&) { return true; };
        hooks.showRefusal = [](QWidget*) {};
        hooks.chooseDatabaseFile = [this](TMainForm&) { return chooser ? chooser() : std::string(); };
        auto form = std::make_unique<TMainForm>(config, std::move(hooks));
        form->resize(1000, 700);
        form->show();
        return form;
    }
    void WriteInterval(int seconds) {
        WriteFileBytes(dir.File(kConfigFileName), "[TIMER]\nSysMessInterval=" + std::to_string(seconds) + "\n");
    }
    std::string Cwd() const { return std::filesystem::current_path().string(); }

    TempDir dir;
    ScopedCurrentDir cwd{dir.Path()};
    CfgClass config{dir.Path()};
    std::function<std::string()> chooser;
};

TEST_F(MainFormTest, FirstStartWritesTheConfigurationAndSetsTheWindowUp) {
    WriteFileBytes(dir.File(kManualFileName), "left over");
    std::filesystem::permissions(dir.File(kManualFileName), std::filesystem::perms::owner_read);
    std::filesystem::current_path("/");
    std::setlocale(LC_NUMERIC, "C.UTF-8");
    auto form = Make();
    EXPECT_FALSE(form->Refused());
    EXPECT_TRUE(std::filesystem::exists(dir.File(kConfigFileName)));
    EXPECT_EQ(form->TMR_SystemMessTimer->interval(), 5000);
    EXPECT_EQ(form->windowTitle(), QStringLiteral(" ") + ProgramTitle());
    EXPECT_FALSE(std::filesystem::exists(dir.File(kManualFileName))) << "a left-over manual is removed at start";
    EXPECT_EQ(Cwd(), dir.Path()) << "the process works in the start folder";
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(QLocale().toString(1234.5), QStringLiteral("1234.5"));

    const QImage dock = form->DockBackground().toImage();
    EXPECT_EQ(dock.size(), QSize(46, 46));
    EXPECT_EQ(dock.pixelColor(20, 0), ClGradientActiveCaption());
    EXPECT_EQ(dock.pixelColor(20, 45), ClWindow());

    WriteFileBytes(dir.File(kManualFileName), "shown during the run");
    form.reset();
    EXPECT_FALSE(std::filesystem::exists(dir.File(kManualFileName))) << "and again at exit";
}

TEST_F(MainFormTest, MessageKindsGiveTheirColours) {
    auto form = Make();
    struct Case {
        int kind;
        const char* detail;
        QColor color;
        QString shown;
    };
    const Case cases[] = {
        {kMessageSuccess, "база.dbf", ClLime(), QStringLiteral("  Готово  база.dbf")},
        {kMessageError, "", ClRed(), QStringLiteral("  Готово  ")},
        {kMessageInfo, "3", ClBtnFace(), QStringLiteral("  Готово  3")},
        {7, "", ClBtnFace(), QStringLiteral("  Готово  ")},
    };
    for (const Case& c : cases) {
        form->ShowSystemMessage("Готово"_cp, cp1251::FromUtf8(c.detail), c.kind);
        EXPECT_EQ(form->StatusBarMain->SimpleText(), c.shown) << c.kind;
        EXPECT_EQ(form->StatusBarMain->Color(), c.color) << c.kind;
        const QImage painted = form->StatusBarMain->grab().toImage();
        EXPECT_EQ(painted.pixelColor(painted.width() / 2, 2), c.color) << "as painted, kind " << c.kind;
    }
}

TEST_F(MainFormTest, ASecondMessageRestartsTheInterval) {
    auto form = Make();
    form->ShowSystemMessage("первое"_cp, "", kMessageInfo);
    QTest::qWait(1000);
    form->ShowSystemMessage("второе"_cp, "", kMessageError);
    EXPECT_EQ(form->StatusBarMain->SimpleText(), QStringLiteral("  второе  "));
    ASSERT_TRUE(form->TMR_SystemMessTimer->isActive());
    EXPECT_GT(form->TMR_SystemMessTimer->remainingTime(), 4500) << "the full interval again, not what was left";
}

TEST_F(MainFormTest, AMessageIsClearedAfterTheInterval) {
    WriteInterval(1);
    auto form = Make();
    form->ShowSystemMessage("ушло"_cp, "", kMessageSuccess);
    for (int i = 0; i < 100 && !form->StatusBarMain->SimpleText().isEmpty(); ++i) QTest::qWait(100);
    EXPECT_EQ(form->StatusBarMain->SimpleText(), QString());
    EXPECT_EQ(form->StatusBarMain->Color(), ClBtnFace());
    EXPECT_FALSE(form->TMR_SystemMessTimer->isActive());
}

TEST_F(MainFormTest, IntervalZeroKeepsTheMessage) {
    WriteInterval(0);
    auto form = Make();
    form->ShowSystemMessage("навсегда"_cp, "", kMessageError);
    QTest::qWait(300);
    EXPECT_EQ(form->StatusBarMain->SimpleText(), QStringLiteral("  навсегда  "));
    EXPECT_EQ(form->StatusBarMain->Color(), ClRed());
    EXPECT_FALSE(form->TMR_SystemMessTimer->isActive());
}

TEST_F(MainFormTest, AtMostTwentyChildren) {
    auto form = Make();
    for (int i = 1; i <= kMaxMdiChildren; ++i) ASSERT_TRUE(form->CreateDatabaseWindow()) << i;
    EXPECT_EQ(form->MdiChildren().front()->windowTitle(), QStringLiteral("Новая база 1"));
    EXPECT_EQ(form->MdiChildren().back()->windowTitle(), QStringLiteral("Новая база 20"));
    EXPECT_EQ(form->StatusBarMain->SimpleText(), QString());

    EXPECT_FALSE(form->CreateDatabaseWindow());
    EXPECT_EQ(form->StatusBarMain->SimpleText(),
              QStringLiteral("  Слишком много открытых окон! Закройте несколько и повторите операцию!  "));
    EXPECT_EQ(form->StatusBarMain->Color(), ClRed());
    form->TMR_SystemMessTimerTimer();
    EXPECT_FALSE(form->OpenDatabaseFile(dir.File("other.dbf")));
    EXPECT_EQ(form->StatusBarMain->Color(), ClRed());
    EXPECT_EQ(form->MdiChildCount(), kMaxMdiChildren);

    // A file already shown is still brought forward.
    form->TMR_SystemMessTimerTimer();
    QMdiSubWindow* fifth = form->MdiChildren()[4];
    fifth->widget()->setWindowTitle(QString::fromStdString(dir.File("shown.dbf")) + QLatin1Char('*'));
    EXPECT_FALSE(form->OpenDatabaseFile(dir.File("shown.dbf")));
    EXPECT_EQ(form->MdiArea()->activeSubWindow(), fifth);
    EXPECT_EQ(form->StatusBarMain->SimpleText(), QString());
}

TEST_F(MainFormTest, NewNumbersByTheChildrenOpenNow) {
    auto form = Make();
    form->ActMenu_New->trigger();
    form->ActMenu_New->trigger();
    form->MdiChildren().front()->close();
    Settle();
    form->ActMenu_New->trigger();
    ASSERT_EQ(form->MdiChildCount(), 2);
    EXPECT_EQ(form->MdiChildren().back()->windowTitle(), QStringLiteral("Новая база 2"));

    // A child that closes itself, not through its frame, leaves no empty frame.
    form->MdiChildren().front()->widget()->close();
    Settle();
    Settle();
    EXPECT_EQ(form->MdiChildCount(), 1);
}

TEST_F(MainFormTest, OpenRestoresTheCurrentDirectory) {
    TempDir elsewhere;
    auto form = Make();
    const std::string start = Cwd();
    const std::string chosen = elsewhere.File("ключи.dbf");
    chooser = [&] {
        std::filesystem::current_path(elsewhere.Path());  // as a dialog that browsed away may leave it
        return chosen;
    };
    form->ActMenu_Open->trigger();
    EXPECT_EQ(Cwd(), start);
    ASSERT_EQ(form->MdiChildCount(), 1);
    EXPECT_EQ(form->MdiChildren().front()->windowTitle(), QString::fromStdString(chosen));

    chooser = [&] {
        std::filesystem::current_path(elsewhere.Path());
        return std::string();  // cancelled
    };
    form->ActMenu_Open->trigger();
    EXPECT_EQ(Cwd(), start);
    EXPECT_EQ(form->MdiChildCount(), 1);
}

QStringList WindowList(TMainForm& form) {
    form.MenuWindow->popup(QPoint(0, 0));
    QStringList captions;
    bool afterSeparator = false;
    for (QAction* item : form.MenuWindow->actions()) {
        if (item->isSeparator()) afterSeparator = true;
        else if (afterSeparator) captions << item->text() + (item->isChecked() ? QStringLiteral(" [x]") : QString());
    }
    form.MenuWindow->hide();
    return captions;
}

TEST_F(MainFormTest, WindowMenuFollowsTheChildren) {
    auto form = Make();
    const QList<QAction*> commands = {form->WindowCascade1, form->WindowTileHorizontal1, form->WindowTileVertical1,
                                      form->WindowMinimizeAll1};
    for (QAction* command : commands) EXPECT_FALSE(command->isEnabled());
    EXPECT_TRUE(WindowList(*form).isEmpty());

    for (int i = 0; i < 3; ++i) form->CreateDatabaseWindow();
    for (QAction* command : commands) EXPECT_TRUE(command->isEnabled());
    EXPECT_EQ(WindowList(*form), (QStringList{QStringLiteral("Новая база 1"), QStringLiteral("Новая база 2"),
                                              QStringLiteral("Новая база 3 [x]")}));

    // Choosing an item activates its window.
    form->MenuWindow->popup(QPoint(0, 0));
    const QList<QAction*> items = form->MenuWindow->actions();
    items[items.size() - 3]->trigger();
    form->MenuWindow->hide();
    EXPECT_EQ(form->MdiArea()->activeSubWindow(), form->MdiChildren().front());

    form->MdiChildren()[1]->close();
    Settle();
    EXPECT_EQ(WindowList(*form), (QStringList{QStringLiteral("Новая база 1 [x]"), QStringLiteral("Новая база 3")}));

    form->MdiArea()->closeAllSubWindows();
    Settle();
    EXPECT_TRUE(WindowList(*form).isEmpty());
    for (QAction* command : commands) EXPECT_FALSE(command->isEnabled());
}

TEST_F(MainFormTest, WindowCommandsArrangeTheChildren) {
    auto form = Make();
    for (int i = 0; i < 2; ++i) form->CreateDatabaseWindow();
    const QRect area = form->MdiArea()->viewport()->rect();
    form->WindowTileHorizontal1->trigger();
    EXPECT_EQ(form->MdiChildren()[0]->geometry(), QRect(0, 0, area.width(), area.height() / 2));
    form->WindowTileVertical1->trigger();
    EXPECT_EQ(form->MdiChildren()[1]->geometry().left(), area.width() / 2);
    form->WindowMinimizeAll1->trigger();
    for (QMdiSubWindow* child : form->MdiChildren()) EXPECT_TRUE(child->isMinimized());
}

// A child that may or may not be closed, and counts the questions.
class AskedChild : public QWidget {
public:
    explicit AskedChild(bool agree) : agree_(agree) {}
    void closeEvent(QCloseEvent* event) override {
        ++asked;
        agree_ ? event->accept() : event->ignore();
    }
    bool agree_;
    int asked = 0;
};

TEST_F(MainFormTest, OneRefusingChildKeepsTheProgramRunning) {
    auto form = Make();
    auto* lower = new AskedChild(true);
    auto* upper = new AskedChild(false);
    form->AddMdiChild(lower);
    form->AddMdiChild(upper);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->MdiChildCount(), 2);
    EXPECT_EQ(upper->asked, 1) << "the topmost child is asked first";
    EXPECT_EQ(lower->asked, 0) << "and its refusal ends the asking";

    upper->agree_ = true;
    form->ActMenu_Quit->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(lower->asked, 1);
}

TEST_F(MainFormTest, ProgressAndBusyCursor) {
    auto form = Make();
    QProgressBar* bar = form->StatusBarMain->Progress();
    EXPECT_FALSE(bar->isVisible());
    form->BeginProgress(3);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 3);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    for (int i = 0; i < 5; ++i) form->StepProgress();
    EXPECT_EQ(bar->value(), 3);
    form->ProcessMessages();
    form->EndProgress();
    form->EndProgress();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    form->SetBusy(true);
    form->SetBusy(true);
    form->SetBusy(false);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    form->SetBusy(false);
    form->SetBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

QStringList Texts(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* action : actions) texts << (action->isSeparator() ? QStringLiteral("|") : action->text());
    return texts;
}

TEST_F(MainFormTest, MenusToolBarAndShortcuts) {
    auto form = Make();
    EXPECT_EQ(Texts(form->menuBar()->actions()),
              (QStringList{QStringLiteral("База"), QStringLiteral("Окно"), QStringLiteral("Помощь")}));
    EXPECT_EQ(Texts(form->MenuBase->actions()),
              (QStringList{QStringLiteral("Создать базу"), QStringLiteral("|"), QStringLiteral("Открыть базу..."),
                           QStringLiteral("|"), QStringLiteral("Выход!")}));
    const QString ctrlI = QKeySequence(Qt::CTRL | Qt::Key_I).toString(QKeySequence::NativeText);
    EXPECT_EQ(Texts(form->MenuHelp->actions()),
              (QStringList{QStringLiteral("Инструкция...\t") + ctrlI, QStringLiteral("|"),
                           QStringLiteral("О программе...")}));
    EXPECT_EQ(Texts(form->ToolBarMain->actions()),
              (QStringList{QStringLiteral("Создать базу"), QStringLiteral("Открыть базу..."), QStringLiteral("|"),
                           QStringLiteral("Инструкция к программе")}));
    EXPECT_EQ(form->ToolBarMain->windowTitle(), QStringLiteral("Панель Кнопок"));

    struct Case {
        QAction* action;
        QString hint;
        QKeySequence keys;
    };
    const Case cases[] = {
        {form->ActMenu_New, QStringLiteral("Создать базу"), QKeySequence(Qt::CTRL | Qt::Key_N)},
        {form->ActMenu_Open, QStringLiteral("Открыть базу"), QKeySequence(Qt::CTRL | Qt::Key_O)},
        {form->ActMenu_Help, QStringLiteral("Инструкция"), QKeySequence(Qt::CTRL | Qt::Key_I)},
        {form->ActMenu_About, QStringLiteral("О программе"), QKeySequence()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.action->toolTip(), c.hint);
        EXPECT_EQ(c.action->shortcut(), c.keys) << c.hint.toStdString();
        EXPECT_TRUE(c.action->isEnabled());
    }

    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form->windowHandle(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form->MdiChildCount(), 1) << "Ctrl+N makes a new database";
}

}  // namespace
