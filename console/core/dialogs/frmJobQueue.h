#pragma once

#include <QDialog>

#include <cstdint>

#include "console/core/LocalizeForm.h"

class QAction;
class QMenuBar;
class QStatusBar;
class QTimer;
class QToolBar;
class QTreeWidget;

namespace console {

// The jobs of every queue that prints to one print server, refreshed every 5 seconds, with pause,
// resume and cancel of the selected job.
class frmJobQueue : public QDialog {
    Q_OBJECT

  public:
    // The print server of the current row; without one the dialog shows nothing.
    explicit frmJobQueue(QWidget* parent = nullptr);
    ~frmJobQueue() override;

    void mnuRefresh_Click();
    // Pause 1, resume 2, cancel 3.
    void JobCommand(std::int32_t command);

    QTreeWidget* List() const { return lstJobQueue; }
    QStatusBar* StatusBar() const { return sbarJobQ; }
    QTimer* RefreshTimer() const { return Timer1; }
    QAction* Action(int index) const { return items_[index]; }

  private:
    void BuildMenus();
    void BuildColumns();
    void AddJobs(const QString& printer, const QString& path);
    void SelectJob(std::uint32_t jobId, const QString& printer);
    void EnableJobCommands();
    int ShowStoppingTimer(const std::function<int()>& show);

    QMenuBar* menuBar_;
    QToolBar* tbarJobQ;
    QTreeWidget* lstJobQueue;
    QStatusBar* sbarJobQ;
    QTimer* Timer1;
    QAction* items_[6] = {};  // pause, resume, cancel, close, refresh, view menu
    CaptionOrder captionOrder_;
    QString mac_;
};

}  // namespace console
