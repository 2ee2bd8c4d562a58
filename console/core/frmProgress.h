#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdint>
#include <memory>

#include "console/core/TrapKeepAlive.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QTimer;

namespace console {

class NoticeBox;

// The detection dialog: its first showing runs the whole detection (the library's search, then the
// table reload, the status poll and the rows), and the library's progress notices arrive in its
// hidden box meanwhile.
class frmProgress : public QDialog {
    Q_OBJECT

  public:
    explicit frmProgress(QWidget* parent);
    ~frmProgress() override;

    // The detection's result: 0, or the library's code when it could not run.
    std::int32_t DetectionResult() const { return result_; }
    QListWidget* Lines() const { return DetectShow; }
    QProgressBar* Bar() const { return DetectProgress; }
    // Whether the library's closing notice came: until then the library still waits for answers.
    bool DetectionFinished() const { return detectionFinished_; }

    // A detection progress notice: the event digit first.
    void txtInterface_Change(const QString& notice);

  signals:
    // The library's detection has returned; the console's own steps follow.
    void DetectionEnded();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Activate();
    void ReportEnd();
    void AddLine(const QString& line);
    void ShowStep(int textId, const QString& name);
    void ShowSoon();
    void ShowPending();

    KeepAliveSuspension quietKeepAlive_;  // no keep-alive while the dialog is up
    QListWidget* DetectShow;
    QProgressBar* DetectProgress;
    QLabel* lblStatus;
    std::unique_ptr<NoticeBox> txtInterface;
    // Lines and the status text wait here for the list's next painting: a list shown anew for each
    // of ten thousand answers would cost more than the detection.
    QStringList pendingLines_;
    QString pendingStep_;
    QTimer* showPending_;
    QElapsedTimer sinceShown_;
    std::int32_t result_ = 0;
    bool started_ = false;
    bool finished_ = false;
    bool detectionFinished_ = false;  // the library's closing notice came
};

}  // namespace console
