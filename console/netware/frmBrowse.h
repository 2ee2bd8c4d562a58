#pragma once

#include <QDialog>

#include "console/netware/NameListGrid.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace console {

class HintLine;

// Picks a directory context, a volume or a print server (BrowseMode "CONTEXT", "VOLUME" or "PRINT
// SERVER"): the directory is walked one context at a time; a bindery queue's print servers are one
// list of the file server's.
class frmBrowse : public QDialog {
    Q_OBJECT

  public:
    explicit frmBrowse(QWidget* owner);

    // Cancel and Esc.
    void reject() override;

    void cmdOk_Click();
    void cmdCancel_Click();
    void imgBack_Click();
    // Double click or Enter: into the container of the current row.
    void grdContents_Expand();

    QTableWidget* grdContents;
    QLineEdit* txtCurrentContext;
    QLineEdit* txtNDSTree;
    QLineEdit* txtFileServer;
    QToolButton* imgBack;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
    HintLine* pnlOpGuide;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool BinderyList() const;
    void ListBinderyPrintServers();
    void UpdateOkButton();
    void UpdateBackButton();
    void RowChanged();
    // One level up or down the directory, then the first row chosen.
    using WalkStep = void (*)(QTableWidget*, const QString&, QLineEdit*, const QString&, const GridPictures&);
    void Walk(const WalkStep& step);
    void ShowFirstRow();

    QLabel* lblCurrentContext;
    QLabel* lblNdsTree;
    QLabel* lblFileServers;
    QGroupBox* pnlContents;
    GridPictures pictures_;
    bool busy_ = false;
};

// Shows the browse dialog modally, placed against `owner`, for the Browse globals; the result is in
// BrowseAccepted, BrowseChoice and BrowseChoiceContext.
void ShowBrowseDialog(QWidget* owner);

}  // namespace console
