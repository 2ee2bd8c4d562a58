#pragma once

#include <QDialog>

#include "console/netware/NameListGrid.h"
#include "console/netware/NetWareForms.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QToolButton;

namespace console {

class HintLine;

// "Add Queue": the print queues of a bindery file server or of a directory tree, from which the
// administrator adds one to the queues the print server card services (the card's NetWare service
// table and the directory's print server, printer and queue assignment, in one call). On the way a
// person may log in, create or delete a queue and choose the queue's service mode. A successful add
// sets NetWare().queueListChanged and closes the dialog.
class frmAddQueue : public QDialog {
    Q_OBJECT

  public:
    explicit frmAddQueue(QWidget* parent = nullptr);

    // True when the NetWare helper library could not be loaded (the dialog has said so): it is not to
    // be shown, and the NetWare page's queue buttons must go off.
    bool ClientMissing() const { return clientMissing_; }

    void cmbFileServers_Click();
    void cmbNdsTrees_Click();
    void cmdLogin_Click();
    void cmdCreateQueue_Click();
    void cmdDeleteQueue_Click();
    void cmdSelectMode_Click();
    void cmdOk_Click();

    QRadioButton* optFileServers;
    QComboBox* cmbFileServers;
    QRadioButton* optNdsTrees;
    QComboBox* cmbNdsTrees;
    QLabel* lblCurrentContext;
    QLineEdit* txtCurrentContext;
    QToolButton* imgBack;
    QTableWidget* grdItems;
    QPushButton* cmdLogin;
    QPushButton* cmdCreateQueue;
    QPushButton* cmdDeleteQueue;
    QPushButton* cmdSelectMode;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Layout and load.
    void LayOut();
    void ConnectControls();
    void Form_Load();
    bool FillNameList(QComboBox* list, QRadioButton* option, bool trees, QStringList& failures);
    void UpdateSourceControls();
    // Lists the context typed into the box, when one was typed since the box was last listed.
    void ListTypedContext();

    // Lists.
    bool Bindery() const;
    void ShowListing(const NetWareList& listing, bool bindery);
    NetWareList ListWithLogin(const ListCall& call);
    bool OfferLogin();
    bool RefreshLoginState();
    void RowChanged();
    void GoUp();
    void GoDown();
    bool SelectQueueRow(const QString& name);
    bool NeedsContext() const;

    // Add.
    struct Service;
    bool ServiceOf(const QString& queue, Service& service) const;
    NwResult AddToCard(const QString& queue, const Service& service);

    HintLine* pnlOpGuide;
    GridPictures pictures_;
    bool listsAvailable_ = false;
    bool listed_ = false;  // the grid holds queues (and containers), not a line of text
    int loginStartKind_ = 0;
    bool busy_ = false;
    bool wentUp_ = false;
    bool keepContext_ = false;
    bool quiet_ = false;
    bool loginCancelled_ = false;
    bool clientMissing_ = false;
};

}  // namespace console
