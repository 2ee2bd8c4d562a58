#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "console/core/TrapKeepAlive.h"
#include "console/properties/FirmwareEventWindow.h"

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;
class QTreeWidget;

namespace console {

class OctetBoxes;

// The firmware upgrade dialog: a firmware file on this PC and the print server to upgrade (chosen
// from the list, given by address, or none: the card asks from its front panel). It tells the
// print server where to fetch the file and shows what the firmware server reports.
class frmTftp : public QDialog {
    Q_OBJECT

  public:
    // mnuFlash: the main window's command, kept disabled while the dialog is up; may be null.
    explicit frmTftp(QAction* mnuFlash = nullptr, QWidget* parent = nullptr);
    ~frmTftp() override;

    void Form_Load();
    // The window the firmware server sends its events to.
    plat::WindowHandle EventWindow() const { return events_.Handle(); }
    // The server's events as they come: the event code and the percentage.
    void Form_MouseDown(std::uint16_t event, std::uint16_t percentage);

    QLineEdit* FileNameBox() const { return txtFileName; }
    QCheckBox* DefaultBox() const { return chkDefault; }
    QRadioButton* ListOption() const { return optList; }
    QRadioButton* IpOption() const { return optIp; }
    QRadioButton* WaitOption() const { return optDaemon; }
    QLineEdit* IpBox(int index) const;
    QTreeWidget* PrinterList() const { return lstPrinters; }
    QPushButton* StartButton() const { return pbuStart; }
    QPushButton* CancelButton() const { return pbuCancel; }
    QLabel* StatusLine() const { return lblProgress; }
    QProgressBar* Progress() const { return progressbar; }
    QTimer* ServerCheck() const { return Timer1; }

    void done(int result) override;

  signals:
    // Every text the status line shows, as it is shown.
    void StatusShown(const QString& text);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildLayout();
    void LoadStoredSettings();
    void FillPrinterList();
    void ApplyMode();
    void EnableTargetChoice(bool enable);
    void ResetDialog();
    void ShowStatusArea(bool shown);
    void SetStatus(const QString& text);
    void SaveFirmwareSettings();
    void RestoreStoredDefault();
    void txtFileName_Change(const QString& text);
    void txtFileName_Edited(const QString& text);
    void pbuBrowse_Click();
    void pbuStart_Click();
    bool TakeTarget(QString& target, QString& address);
    void SendDownload(const QString& target, const QString& address);
    void pbuCancel_Click();
    void ShowEnd(int statusId);
    void Timer1_Timer();
    void StopServer();
    void Finish();

    // No keep-alive to any print server while the dialog is up: the one being flashed included.
    KeepAliveSuspension quietKeepAlive_;
    QAction* mnuFlash_;
    FirmwareEventWindow events_;
    bool readyToStart_ = true;
    bool failureReportArmed_ = true;
    bool fileNameGiven_ = false;
    bool closing_ = false;
    bool started_ = false;  // a print server was told to fetch, or wait mode began
    bool completed_ = false;
    QString typedText_;
    // The default the store held when the dialog loaded, put back when the choice is not to be kept.
    std::optional<std::string> storedDefault_;
    bool defaultReplaced_ = false;

    QFrame* SSPanel1;
    QCheckBox* chkDefault;
    QLineEdit* txtFileName;
    QPushButton* pbuBrowse;
    QLabel* Label1;
    QRadioButton* optDaemon;
    QRadioButton* optIp;
    OctetBoxes* txtIP;
    QRadioButton* optList;
    QTreeWidget* lstPrinters;
    QFrame* lblTftp;
    QProgressBar* progressbar;
    QLabel* lblProgress;
    QPushButton* pbuCancel;
    QPushButton* pbuStart;
    QTimer* Timer1;
};

}  // namespace console
