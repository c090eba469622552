#pragma once
// The program's frame window: an MDI area for the database windows and the
// manual, the menu bar, the tool bar and the status line through which every
// part of the program reports (it is the program's Reporter).

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPixmap>
#include <functional>
#include <string>

#include "config.h"
#include "message_pump.h"
#include "reporter.h"

class QAction;
class QActionGroup;
class QFileDialog;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;
class TMainForm;
class TStatusLine;

// What the main window asks of the world around it; tests put their own in.
struct MainFormHooks {
    // False when another copy of the program runs.
    std::function<bool(const std::string& name)> checkSingleInstance;
    // Tells the second copy it may not run (a modal box by default).
    std::function<void(QWidget* parent)> showRefusal;
    // The Open dialog: the chosen file (native path), or "" when cancelled.
    std::function<std::string(TMainForm& form)> chooseDatabaseFile;
};

inline constexpr int kMaxMdiChildren = 20;

class TMainForm : public QMainWindow, public Reporter {
    Q_OBJECT
public:
    // Creation runs the start-up steps: number format, single-instance
    // check, removal of a left-over manual, configuration, caption, current
    // directory. The configuration outlives the window.
    explicit TMainForm(CfgClass& config, MainFormHooks hooks = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    // A second copy: the program is to end before its message loop.
    bool Refused() const { return refused_; }

    // Reporter: the status line, its progress bar, the hourglass, repainting.
    void ShowSystemMessage(const std::string& text, const std::string& detail, int kind) override;
    void BeginProgress(int maximum) override;
    void StepProgress() override;
    void EndProgress() override;
    void SetBusy(bool busy) override;
    void ProcessMessages() override;

    // New and Open. Until the database window exists they open a placeholder.
    bool CreateDatabaseWindow();
    bool OpenDatabaseFile(const std::string& path);

    // False, with the red message, when kMaxMdiChildren are open already.
    bool MayOpenChild();
    // Puts a window into the MDI area, shown and active; it is freed when closed.
    QMdiSubWindow* AddMdiChild(QWidget* form);
    QList<QMdiSubWindow*> MdiChildren() const;
    int MdiChildCount() const;
    QMdiArea* MdiArea() const { return mdiArea_; }

    CfgClass& Config() { return config_; }
    // The 46 × 46 background of the tool bar docks of the child windows.
    const QPixmap& DockBackground() const { return dockBackground_; }

    void ActMenu_NewExecute();
    void ActMenu_OpenExecute();
    void ActMenu_QuitExecute();
    void TMR_SystemMessTimerTimer();

    // Controls of the form.
    QAction* ActMenu_New = nullptr;
    QAction* ActMenu_Open = nullptr;
    QAction* ActMenu_Quit = nullptr;
    QAction* ActMenu_Help = nullptr;
    QAction* ActMenu_About = nullptr;
    QAction* WindowCascade1 = nullptr;
    QAction* WindowTileHorizontal1 = nullptr;
    QAction* WindowTileVertical1 = nullptr;
    QAction* WindowMinimizeAll1 = nullptr;
    QMenu* MenuBase = nullptr;
    QMenu* MenuWindow = nullptr;
    QMenu* MenuHelp = nullptr;
    QToolBar* ToolBarMain = nullptr;
    TStatusLine* StatusBarMain = nullptr;
    QTimer* TMR_SystemMessTimer = nullptr;
    QFileDialog* DLG_OpenBase = nullptr;  // made when Open first needs it

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void RunStartUp();
    void PaintDockBackground();
    void UpdateWindowCommands();
    void RebuildWindowList();
    void TileChildren(bool horizontal);
    void MinimizeAllChildren();
    std::string ChooseWithDialog();

    CfgClass& config_;
    MainFormHooks hooks_;
    QMdiArea* mdiArea_ = nullptr;
    QActionGroup* windowList_ = nullptr;
    QPixmap dockBackground_;
    bool refused_ = false;
    bool progressOpen_ = false;
    int busyDepth_ = 0;
    QElapsedTimer pumpClock_;
    MessagePump pump_;
};
