#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;

namespace console {

class HintLine;

// Alerts: the printers monitored, the statuses that alert, how an alert is given and the alert log,
// which its third page shows and clears. Settings change only on OK.
class frmNotify : public QDialog {
    Q_OBJECT

  public:
    explicit frmNotify(QWidget* parent = nullptr);
    ~frmNotify() override;

    // The dialog open now, if any: the main window adds the alerts it logs to its page.
    static frmNotify* Open();
    void AddLogged(const QString& name, const QString& when, const QString& status);

    void pbuAdd_Click();
    void pbuRemove_Click();
    void pbuAddevents_Click();
    void pbuRemoveEvents_Click();
    void pbuClear_Click();
    void pbuOK_Click();

    QTabWidget* Tabs() const { return tabNotify; }
    QListWidget* AvailablePrinters() const { return lstAvailable; }
    QListWidget* MonitoredPrinters() const { return lstMonitored; }
    QListWidget* AvailableAlerts() const { return lstAvail; }
    QListWidget* ActiveAlerts() const { return lstNotified; }
    QCheckBox* AlertsOn() const { return chkTraps; }
    QRadioButton* Popup() const { return optPopup; }
    QRadioButton* Sound() const { return optSound; }
    QCheckBox* Logging() const { return chkLogging; }
    QLineEdit* LogFile() const { return txtLogFile; }
    QTreeWidget* Log() const { return lstTree; }
    QLabel* LoggedCount() const { return lblNo; }
    QPushButton* ClearLog() const { return pbuClear; }

  private:
    QWidget* GeneralPage();
    QWidget* AlertsPage();
    QWidget* LogPage();
    void LoadSettings();
    void ReadLog();
    void ShowCount();
    void UpdateLists();
    void pbuBrowse_Click();

    QTabWidget* tabNotify;
    QCheckBox* chkTraps;
    QRadioButton* optPopup;
    QRadioButton* optSound;
    QListWidget* lstAvailable;
    QListWidget* lstMonitored;
    QPushButton* pbuAdd;
    QPushButton* pbuRemove;
    QListWidget* lstAvail;
    QListWidget* lstNotified;
    QPushButton* pbuAddevents;
    QPushButton* pbuRemoveEvents;
    QCheckBox* chkLogging;
    QLabel* lblFile;
    QLineEdit* txtLogFile;
    QPushButton* pbuBrowse;
    QTreeWidget* lstTree;
    QPushButton* pbuClear;
    QLabel* lblNo;
    QLabel* lblMethod;
    QLabel* lblPrinterAvailable;
    QLabel* lblPrinterMonitored;
    QLabel* lblAvailableAlerts;
    QLabel* lblActiveAlerts;
    QPushButton* pbuOK;
    QPushButton* pbuCancel;
    HintLine* lblTips;
};

// Whether a log file name can be stored: not empty, no line breaks, in a folder that exists or can
// be made.
bool UsableLogFileName(const QString& name);

}  // namespace console
