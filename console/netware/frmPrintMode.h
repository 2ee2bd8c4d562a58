#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace console {

class HintLine;

// Chooses how the print server card services one NetWare queue: as a print server of its own
// ("PSERVER") or as a remote printer of another print server ("RPRINTER"), which is chosen too. The
// choice goes into the queue's QueueModeTable entry.
class frmPrintMode : public QDialog {
    Q_OBJECT

  public:
    explicit frmPrintMode(QWidget* owner);

    // Cancel and Esc.
    void reject() override;

    void cmdOk_Click();
    void cmdBrowse_Click();

    QLineEdit* txtQueueName;
    QRadioButton* optModePS;
    QRadioButton* optModeRP;
    QLineEdit* txtPrintServer;
    QPushButton* cmdBrowse;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
    HintLine* pnlOpGuide;

  private:
    void ShowCurrentMode();
    void UpdateModeControls();
    void UpdateOkButton();
    // The context of the print server in the box: the browsed one's, none for a typed name.
    QString PrintServerContext() const;

    QLabel* lblQueueName;
    QLabel* lblPrintServer;
    QString browsedName_;
    QString browsedContext_;
};

// Shows the print mode dialog modally, placed against `owner`, for the PrintMode globals; the result
// is in PrintModeAccepted, PrintModeChoice, PrintModePrintServer and the queue's QueueModeTable entry.
void ShowPrintModeDialog(QWidget* owner);

// The index in QueueModeTable of the queue's entry, -1 when it has none. A bindery queue (bindery
// -1) is known by its name and file server, a directory queue by its name and tree; names are
// compared as NetWare compares them, without regard to case.
int FindQueueMode(const QString& queueName, int16_t bindery, const QString& fileServer, const QString& tree);

}  // namespace console
