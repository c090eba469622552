#include "main_form.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <climits>
#include <clocale>
#include <filesystem>

#include "Cp1251.h"
#include "app_title.h"
#include "manual_file.h"
#include "mdi_tiling.h"
#include "painters.h"
#include "pictures.h"
#include "placeholder_child.h"
#include "qt_text.h"
#include "single_instance.h"
#include "status_line.h"
#include "system_colors.h"

using namespace cp1251_literals;

namespace {

constexpr int kDockBackgroundSize = 46;
constexpr int kToolBarIconSize = 32;

// "." as the decimal separator whatever the user's locale says; the program
// writes no thousands separators at all.
void SetProgramNumberFormat() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(locale);
}

void ShowRefusalBox(QWidget* parent) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Внимание!"),
                    QStringLiteral("Разрешен запуск только одной копии программы!"), QMessageBox::Ok, parent);
    box.exec();
}

QIcon IconOf(const PngImageList& menu, int menuIndex, const PngImageList& toolBar = {}, int toolBarIndex = -1) {
    QIcon icon = ActionIcon(menu[menuIndex]);
    if (toolBarIndex >= 0) {
        const QIcon large = ActionIcon(toolBar[toolBarIndex]);
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active})
            icon.addPixmap(large.pixmap(QSize(kToolBarIconSize, kToolBarIconSize), mode), mode);
    }
    return icon;
}

// A menu or tool bar item with its own caption for an action: it runs the
// action and follows its enabled state. The shortcut stays with the action;
// a menu item only shows it.
QAction* ItemFor(QAction* action, const QString& caption, QObject* parent, bool showShortcut) {
    QString text = caption;
    if (showShortcut && !action->shortcut().isEmpty())
        text += QLatin1Char('\t') + action->shortcut().toString(QKeySequence::NativeText);
    auto* item = new QAction(action->icon(), text, parent);
    item->setToolTip(action->toolTip());
    item->setEnabled(action->isEnabled());
    QObject::connect(item, &QAction::triggered, action, &QAction::trigger);
    QObject::connect(action, &QAction::enabledChanged, item, &QAction::setEnabled);
    return item;
}

}  // namespace

TMainForm::TMainForm(CfgClass& config, MainFormHooks hooks, QWidget* parent)
    : QMainWindow(parent), config_(config), hooks_(std::move(hooks)) {
    if (!hooks_.checkSingleInstance) hooks_.checkSingleInstance = CheckSingleInstance;
    if (!hooks_.showRefusal) hooks_.showRefusal = ShowRefusalBox;
    if (!hooks_.chooseDatabaseFile) hooks_.chooseDatabaseFile = [](TMainForm& form) { return form.ChooseWithDialog(); };

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setBackground(ClAppWorkSpace());
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea_);

    StatusBarMain = new TStatusLine(this);
    setStatusBar(StatusBarMain);
    TMR_SystemMessTimer = new QTimer(this);
    TMR_SystemMessTimer->setSingleShot(true);
    TMR_SystemMessTimer->setInterval(4000);
    connect(TMR_SystemMessTimer, &QTimer::timeout, this, &TMainForm::TMR_SystemMessTimerTimer);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this] {
        UpdateWindowCommands();
        RebuildWindowList();
    });
    UpdateWindowCommands();
    RebuildWindowList();

    RunStartUp();
}

TMainForm::~TMainForm() {
    // The base class destructor closes the children, which would call back into a half-gone window.
    mdiArea_->disconnect(this);
    for (QMdiSubWindow* child : mdiArea_->subWindowList()) child->disconnect(this);
    while (busyDepth_ > 0) SetBusy(false);
    RemoveManualFile(config_);
}

void TMainForm::RunStartUp() {
    SetProgramNumberFormat();
    if (!hooks_.checkSingleInstance(ProgramTitleCp1251())) {
        refused_ = true;
        hooks_.showRefusal(this);
    }
    RemoveManualFile(config_);
    if (!config_.ReadConfig()) config_.ReadConfig();
    // A non-positive interval stands for "never": a zero-interval timer would fire at once.
    const long long interval = static_cast<long long>(config_.SysMessInterval) * 1000;
    TMR_SystemMessTimer->setInterval(static_cast<int>(std::clamp<long long>(interval, 0, INT_MAX)));
    PaintDockBackground();
    setWindowTitle(QStringLiteral(" ") + ProgramTitle());
    std::error_code ec;
    std::filesystem::current_path(config_.FolderPath(), ec);
}

void TMainForm::PaintDockBackground() {
    dockBackground_ = QPixmap(kDockBackgroundSize, kDockBackgroundSize);
    QPainter painter(&dockBackground_);
    // Swapped: the caption colour at the top, the window colour at the bottom.
    FillGradient(painter, dockBackground_.rect(), ClWindow(), ClGradientActiveCaption(), false, false, true, false);
}

void TMainForm::CreateActions() {
    const PngImageList& menu = PIL_Menu();
    const PngImageList& tlb = PIL_Tlb();
    auto make = [this](const QIcon& icon, const QString& caption, const QString& hint, const QKeySequence& keys) {
        auto* action = new QAction(icon, caption, this);
        action->setToolTip(hint.isEmpty() ? caption : hint);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::ApplicationShortcut);
        addAction(action);
        return action;
    };
    ActMenu_New = make(IconOf(menu, kMenuNew, tlb, kTlbNew), QStringLiteral("Создать базу"),
                       QStringLiteral("Создать базу"), QKeySequence(Qt::CTRL | Qt::Key_N));
    ActMenu_Open = make(IconOf(menu, kMenuOpen, tlb, kTlbOpen), QStringLiteral("Открыть базу..."),
                        QStringLiteral("Открыть базу"), QKeySequence(Qt::CTRL | Qt::Key_O));
    ActMenu_Quit = make(IconOf(menu, kMenuQuit), QStringLiteral("Выход!"), {}, {});
    ActMenu_Help = make(IconOf(menu, kMenuHelp, tlb, kTlbHelp), QStringLiteral("Инструкция"),
                        QStringLiteral("Инструкция"), QKeySequence(Qt::CTRL | Qt::Key_I));
    ActMenu_About = make(IconOf(menu, kMenuAbout), QStringLiteral("О программе"), QStringLiteral("О программе"), {});
    connect(ActMenu_New, &QAction::triggered, this, &TMainForm::ActMenu_NewExecute);
    connect(ActMenu_Open, &QAction::triggered, this, &TMainForm::ActMenu_OpenExecute);
    connect(ActMenu_Quit, &QAction::triggered, this, &TMainForm::ActMenu_QuitExecute);
    // ActMenu_Help and ActMenu_About are wired to the manual viewer and the
    // about box when those windows are built.

    WindowCascade1 = make(IconOf(menu, kMenuCascade), QStringLiteral("Каскад"), {}, {});
    WindowTileHorizontal1 = make(IconOf(menu, kMenuTileHorizontal), QStringLiteral("Расположить горизонтально"), {}, {});
    WindowTileVertical1 = make(IconOf(menu, kMenuTileVertical), QStringLiteral("Расположить вертикально"), {}, {});
    WindowMinimizeAll1 = make(IconOf(menu, kMenuMinimizeAll), QStringLiteral("Свернуть все"), {}, {});
    connect(WindowCascade1, &QAction::triggered, mdiArea_, &QMdiArea::cascadeSubWindows);
    connect(WindowTileHorizontal1, &QAction::triggered, this, [this] { TileChildren(true); });
    connect(WindowTileVertical1, &QAction::triggered, this, [this] { TileChildren(false); });
    connect(WindowMinimizeAll1, &QAction::triggered, this, &TMainForm::MinimizeAllChildren);
}

void TMainForm::CreateMenus() {
    QMenuBar* bar = menuBar();
    bar->setWindowTitle(QStringLiteral("Панель Меню"));
    MenuBase = bar->addMenu(QStringLiteral("База"));
    MenuBase->addAction(ActMenu_New);
    MenuBase->addSeparator();
    MenuBase->addAction(ActMenu_Open);
    MenuBase->addSeparator();
    MenuBase->addAction(ActMenu_Quit);

    MenuWindow = bar->addMenu(QStringLiteral("Окно"));
    MenuWindow->addAction(WindowCascade1);
    MenuWindow->addAction(WindowTileHorizontal1);
    MenuWindow->addAction(WindowTileVertical1);
    MenuWindow->addAction(WindowMinimizeAll1);
    MenuWindow->addSeparator();
    windowList_ = new QActionGroup(this);
    windowList_->setExclusive(true);
    connect(MenuWindow, &QMenu::aboutToShow, this, &TMainForm::RebuildWindowList);

    MenuHelp = bar->addMenu(QStringLiteral("Помощь"));
    MenuHelp->addAction(ItemFor(ActMenu_Help, QStringLiteral("Инструкция..."), this, true));
    MenuHelp->addSeparator();
    MenuHelp->addAction(ItemFor(ActMenu_About, QStringLiteral("О программе..."), this, true));
}

void TMainForm::CreateToolBar() {
    ToolBarMain = new QToolBar(QStringLiteral("Панель Кнопок"), this);
    ToolBarMain->setObjectName(QStringLiteral("ToolBarMain"));
    ToolBarMain->setIconSize(QSize(kToolBarIconSize, kToolBarIconSize));
    ToolBarMain->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBarMain->addAction(ActMenu_New);
    ToolBarMain->addAction(ActMenu_Open);
    ToolBarMain->addSeparator();
    ToolBarMain->addAction(ItemFor(ActMenu_Help, QStringLiteral("Инструкция к программе"), ToolBarMain, false));
    addToolBar(Qt::TopToolBarArea, ToolBarMain);
}

bool TMainForm::event(QEvent* event) {
    // Hints are tool tips; the status line carries only the program's messages.
    if (event->type() == QEvent::StatusTip) return true;
    return QMainWindow::event(event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Every child is asked first, the topmost first; one refusal keeps the
    // program running and leaves all children open.
    QList<QMdiSubWindow*> children = mdiArea_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        QWidget* form = (*it)->widget();
        if (!form) continue;
        QCloseEvent query;
        QCoreApplication::sendEvent(form, &query);
        if (!query.isAccepted()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void TMainForm::ActMenu_NewExecute() { CreateDatabaseWindow(); }

void TMainForm::ActMenu_OpenExecute() {
    // The dialog may leave the process in another folder.
    std::error_code ec;
    const std::filesystem::path before = std::filesystem::current_path(ec);
    const std::string path = hooks_.chooseDatabaseFile(*this);
    if (!path.empty()) OpenDatabaseFile(path);
    if (!ec) std::filesystem::current_path(before, ec);
}

void TMainForm::ActMenu_QuitExecute() { close(); }

std::string TMainForm::ChooseWithDialog() {
    if (!DLG_OpenBase) {
        // Made on first use: a file dialog starts a folder-watching thread.
        DLG_OpenBase = new QFileDialog(this, QStringLiteral("Открыть файл базы"));
        DLG_OpenBase->setDefaultSuffix(QStringLiteral("dbf"));
        DLG_OpenBase->setFileMode(QFileDialog::ExistingFile);
        DLG_OpenBase->setAcceptMode(QFileDialog::AcceptOpen);
    }
    DLG_OpenBase->setNameFilter(QStringLiteral("DBF файл (*.dbf)"));
    if (DLG_OpenBase->exec() != QDialog::Accepted) return {};
    const QStringList files = DLG_OpenBase->selectedFiles();
    return files.isEmpty() ? std::string() : QFile::encodeName(files.first()).toStdString();
}

bool TMainForm::MayOpenChild() {
    if (MdiChildCount() < kMaxMdiChildren) return true;
    ShowSystemMessage("Слишком много открытых окон! Закройте несколько и повторите операцию!"_cp, "", kMessageError);
    return false;
}

QMdiSubWindow* TMainForm::AddMdiChild(QWidget* form) {
    form->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = mdiArea_->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // A form that closes itself would leave its empty frame behind; queued,
    // so that a frame already being destroyed is not called.
    connect(form, &QObject::destroyed, sub, &QMdiSubWindow::close, Qt::QueuedConnection);
    // The list is rebuilt once the closed child has left the area.
    connect(sub, &QObject::destroyed, this, [this] {
        QTimer::singleShot(0, this, [this] {
            UpdateWindowCommands();
            RebuildWindowList();
        });
    });
    form->show();
    mdiArea_->setActiveSubWindow(sub);
    UpdateWindowCommands();
    RebuildWindowList();
    return sub;
}

QList<QMdiSubWindow*> TMainForm::MdiChildren() const { return mdiArea_->subWindowList(QMdiArea::CreationOrder); }

int TMainForm::MdiChildCount() const { return static_cast<int>(mdiArea_->subWindowList().size()); }

bool TMainForm::CreateDatabaseWindow() {
    if (!MayOpenChild()) return false;
    // The number is the count of children with the new one, not a sequence.
    const QString caption = QStringLiteral("Новая база %1").arg(MdiChildCount() + 1);
    AddMdiChild(new PlaceholderChild(caption));
    return true;
}

bool TMainForm::OpenDatabaseFile(const std::string& path) {
    const QString caption = QFile::decodeName(QByteArray::fromStdString(path));
    const QList<QMdiSubWindow*> children = MdiChildren();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        QString shown = (*it)->windowTitle();
        if (shown.endsWith(QLatin1Char('*'))) shown.chop(1);
        if (shown == caption) {
            // Brought forward, not read again.
            (*it)->showNormal();
            mdiArea_->setActiveSubWindow(*it);
            return false;
        }
    }
    if (!CreateDatabaseWindow()) return false;
    // Reading the file is the database window's, which this build does not have yet.
    if (QMdiSubWindow* child = mdiArea_->activeSubWindow()) child->widget()->setWindowTitle(caption);
    return true;
}

void TMainForm::UpdateWindowCommands() {
    const bool any = MdiChildCount() > 0;
    for (QAction* action : {WindowCascade1, WindowTileHorizontal1, WindowTileVertical1, WindowMinimizeAll1})
        action->setEnabled(any);
}

void TMainForm::RebuildWindowList() {
    for (QAction* item : windowList_->actions()) {
        MenuWindow->removeAction(item);
        windowList_->removeAction(item);
        // The item may be the one whose choice led here.
        item->deleteLater();
    }
    QMdiSubWindow* active = mdiArea_->activeSubWindow();
    for (QMdiSubWindow* child : MdiChildren()) {
        QString caption = child->windowTitle();
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* item = new QAction(caption, windowList_);
        item->setCheckable(true);
        item->setChecked(child == active);
        QPointer<QMdiSubWindow> target(child);
        connect(item, &QAction::triggered, this, [this, target] {
            if (!target) return;
            if (target->isMinimized()) target->showNormal();
            mdiArea_->setActiveSubWindow(target);
        });
        MenuWindow->addAction(item);
    }
}

void TMainForm::TileChildren(bool horizontal) {
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* child : MdiChildren())
        if (child->isVisible() && !child->isMinimized()) shown.append(child);
    const std::vector<QRect> rects = TileRects(mdiArea_->viewport()->rect(), static_cast<int>(shown.size()), horizontal);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i]->isMaximized()) shown[i]->showNormal();
        shown[i]->setGeometry(rects[static_cast<std::size_t>(i)]);
    }
}

void TMainForm::MinimizeAllChildren() {
    for (QMdiSubWindow* child : MdiChildren()) child->showMinimized();
}
