#pragma once

#include <QMainWindow>
#include <QPointer>

#include <deque>
#include <functional>
#include <map>
#include <memory>

#include "console/core/LocalizeForm.h"
#include "platform/services/NamedMutex.h"
#include "platform/window/Window.h"

class QAction;
class QActionGroup;
class QDialog;
class QLabel;
class QMenu;
class QSplitter;
class QTimer;
class QToolBar;
class QTreeWidget;

namespace console {

class NoticeBox;
class PrinterList;
class TrapKeepAlive;
class frmBanner;

// The console's main window: the group tree, the printer list, menus, tool bar, status bar, the
// timers, and the hidden box that receives the status notices.
class NewLook : public QMainWindow {
    Q_OBJECT

  public:
    NewLook();
    ~NewLook() override;

    // Start-up; false when another console already runs (after saying so): the program then ends.
    bool Form_Load();
    // The first detection, once the window is up: the refresh timer armed, then a detection unless
    // a Refresh has already run one.
    void FirstDetection();
    // The first detection once the splash has been seen for its time (or closed by a key or a
    // click) and the window is idle, a command opened meanwhile having ended; then `done`: the
    // program's start.
    void FirstDetectionAfterSplash(std::function<void()> done);

    // Commands and events, reachable by the tests as a person reaches them.
    void mnuRefresh_Click();
    // A tick of the automatic refresh: the Refresh command, unless work of the window is under way;
    // then it runs once that work has ended.
    void tmrRefresh_Timer();
    void outTreeList_Click();
    // The rows built anew from the tables for the selected group, sorted and listed, with the same
    // print server selected; also while a command runs (a command's own changes must show).
    void RebuildList();
    void txtTrapHandle_Change(const QString& notice);
    void tmrTrapKeeper_Timer();
    void ApplyViewMode();
    // Runs a command as its menu item, pop-up entry, tool bar button or short-cut key runs it.
    void RunCommand(const QString& name);

    QAction* Action(const QString& name) const;
    PrinterList* List() const { return grdDetails; }
    QTimer* TrapKeeper() const;
    TrapKeepAlive& KeepAlive() const { return *tmrTrapKeeper; }
    QTimer* RefreshTimer() const { return tmrRefresh; }
    QLabel* StatusPanel(int panel) const;
    plat::WindowHandle TrapHandle() const;
    bool RefreshInProgress() const { return refreshInProgress_; }

  signals:
    void RefreshFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    QMenu* AddMenu(QMenu* parent, const QString& name);
    QAction* AddItem(QMenu* menu, const QString& name, int captionId);
    void BuildToolBar();
    void ConnectCommands();
    void ApplyDisplayOptions();
    void GatherDisplayOptions();
    void UpdateMenus(int state);
    void ShowGroupTree(bool visible);
    void ShowBanner();
    void SetFilterPanel();
    void ArmRefreshTimer(bool enabled);
    void RefreshWhenIdle();
    void StartWhenIdle();
    void ListClicked();
    void ColumnClicked(const QString& title);
    void RaiseAlert(const QString& name, const QString& statusText);
    void LogAlert(const QString& name, const QString& statusText);
    // Shows the box now, or after the boxes already on the screen or waiting.
    void QueueBox(std::function<void()> box);
    void NotAvailableYet();
    void Form_Unload();

    // The console's own commands (MainCommands.cpp).
    std::function<void()> OwnCommand(const QString& name);
    void Reselect(const std::function<void()>& command);
    void mnuPreference_Click();
    void mnuColumns_Click();
    void WidenToTitles(const QStringList& titles);
    void mnuFilter1_Click();
    void FilterCommand(QDialog& dialog);
    void mnuSort_Click();
    void mnuLocate_Click();
    void mnuNotify_Click();
    void mnuTestPage_Click();
    void mnuFactory_Click();

    std::unique_ptr<plat::NamedMutex> instance_;
    QTreeWidget* outTreeList;
    PrinterList* grdDetails;
    QSplitter* pnlDividor;
    QToolBar* picMenuBar;
    QLabel* panel1_;
    QLabel* panel2_;
    TrapKeepAlive* tmrTrapKeeper;
    QTimer* tmrRefresh;
    QTimer* tmrBanner;
    QMenu* mnuPopup = nullptr;
    QActionGroup* viewGroup_ = nullptr;
    std::unique_ptr<NoticeBox> txtTrapHandle;
    std::map<QString, QAction*> actions_;
    CaptionOrder captionOrder_;
    std::map<QAction*, int> ownCaptions_;  // the items captioned outside the window's block
    QPointer<frmBanner> banner_;
    std::deque<std::function<void()>> pendingBoxes_;
    bool showingBox_ = false;
    QString unwritableLogTold_;        // the alert log last told as unwritable, until a line goes in
    std::function<void()> startDone_;  // the program's start, once its first detection has run
    bool startDue_ = false;            // the splash went while the window was busy
    bool detected_ = false;            // a Refresh has run since start-up
    bool refreshInProgress_ = false;
    bool refreshDue_ = false;     // a tick came while the window was busy
    bool refreshQueued_ = false;  // the run of what was held waits in the event queue
    bool unloaded_ = false;
};

}  // namespace console
