#include "console/netware/frmLogin.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/PasswordCharacters.h"
#include "console/core/dialogs/DialogKit.h"
#include "console/netware/NetWareForms.h"
#include "console/netware/NetWareGlobals.h"
#include "console/netware/NetWareLibraries.h"
#include "console/netware/frmBrowse.h"

namespace console {

namespace {

constexpr int kBaseId = 5200;
constexpr int16_t kBinderyServer = 1;
constexpr int16_t kServerInTree = 2;
constexpr int16_t kTree = 3;

}  // namespace

frmLogin::frmLogin(QWidget* owner)
    : QDialog(owner),
      txtUserName(NamedBox("txtUserName")),
      txtPasswd(NamedBox("txtPasswd")),
      txtContext(NamedBox("txtContext")),
      chkBinderyConn(new QCheckBox("Bindery Connection")),
      cmdBrowse(NamedButton("cmdBrowse", "&Browse")),
      cmdOk(NamedButton("cmdOk", "&OK")),
      cmdCancel(NamedButton("cmdCancel", "&Cancel")),
      lblUserName(NamedLabel("lblUserName", "User Name:", txtUserName)),
      lblPasswd(NamedLabel("lblPasswd", "Password:", txtPasswd)),
      lblContext(NamedLabel("lblContext", "Context:", txtContext)) {
    chkBinderyConn->setObjectName("chkBinderyConn");
    txtPasswd->setEchoMode(QLineEdit::Password);
    RefuseCharactersOutsideCodePage(txtPasswd);
    txtUserName->setMinimumWidth(220);
    SelectAllOnFocus(txtUserName);
    SelectAllOnFocus(txtPasswd);

    auto* fields = new QGridLayout;
    fields->addWidget(lblUserName, 0, 0);
    fields->addWidget(txtUserName, 0, 1, 1, 2);
    fields->addWidget(lblPasswd, 1, 0);
    fields->addWidget(txtPasswd, 1, 1, 1, 2);
    fields->addWidget(chkBinderyConn, 2, 1, 1, 2);
    fields->addWidget(lblContext, 3, 0);
    fields->addWidget(txtContext, 3, 1);
    fields->addWidget(cmdBrowse, 3, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(ButtonRow({cmdOk, cmdCancel}));

    LocalizeForm(this, kBaseId,
                 CaptionOrder() << chkBinderyConn << cmdCancel << cmdOk << cmdBrowse << lblPasswd
                                << lblUserName << lblContext);
    chkBinderyConn->setEnabled(NwLoginKind == kServerInTree);
    chkBinderyConn->setChecked(NwLoginKind == kServerInTree);
    if (NwLoginKind != kBinderyServer) {
        txtContext->setText(NwLoginContext);
    }
    UpdateContextControls();
    UpdateOkButton();
    cmdOk->setDefault(true);

    connect(txtUserName, &QLineEdit::textChanged, this, &frmLogin::UpdateOkButton);
    connect(txtContext, &QLineEdit::textChanged, this, &frmLogin::UpdateOkButton);
    connect(chkBinderyConn, &QCheckBox::clicked, this, &frmLogin::chkBinderyConn_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmLogin::cmdBrowse_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmLogin::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogin::reject);
    adjustSize();
    PlaceAgainst(this, owner);
}

bool frmLogin::TreeLogin() const {
    return NwLoginKind == kTree || (NwLoginKind == kServerInTree && !chkBinderyConn->isChecked());
}

void frmLogin::UpdateContextControls() {
    const bool tree = TreeLogin();
    for (QWidget* control : std::initializer_list<QWidget*>{lblContext, txtContext, cmdBrowse}) {
        control->setEnabled(tree);
    }
}

// A tree login needs a context as well as a user name, whichever kind of login it is.
void frmLogin::UpdateOkButton() {
    const bool user = !txtUserName->text().trimmed().isEmpty();
    const bool context = !txtContext->text().trimmed().isEmpty();
    cmdOk->setEnabled(user && (context || !TreeLogin()));
}

void frmLogin::chkBinderyConn_Click() {
    UpdateContextControls();
    UpdateOkButton();
}

void frmLogin::cmdBrowse_Click() {
    BrowseMode = "CONTEXT";
    BrowseTree = NwLoginTree;
    BrowseContext = txtContext->text();
    BrowseBindery = 0;
    ShowBrowseDialog(this);
    if (BrowseAccepted == -1) {
        txtContext->setText(BrowseChoice);
    }
}

void frmLogin::cmdOk_Click() {
    if (!cmdOk->isEnabled()) {
        return;
    }
    QByteArray user = NetWareText(txtUserName->text());
    QByteArray password = NetWareText(txtPasswd->text());
    const bool tree = TreeLogin();
    NwResult result = kNwOk;
    {
        const BusyCursor hourglass;
        if (tree) {
            QByteArray treeName = NetWareText(NwLoginTree);
            result = tessik::NwNdsLogin(treeName.data(), user.constData(),
                                        NetWareText(txtContext->text()).constData(), password.constData());
        } else {
            QByteArray server = NetWareText(NwLoginServer);
            result = tessik::NwBiLogin(server.data(), user.data(), password.data());
        }
    }
    if (result != kNwOk) {
        NwLoginResult = -1;
        ShowResult(result, kWarning);
        return;
    }
    NwLoginResult = 0;
    NwLoginKind = tree ? kTree : NwLoginKind;
    accept();
}

void frmLogin::reject() {
    NwLoginResult = -1;
    QDialog::reject();
}

// The result reads as a cancel unless the login succeeds, also when the dialog cannot come up.
void ShowLoginDialog(QWidget* owner) {
    NwLoginResult = -1;
    frmLogin dialog(owner);
    dialog.exec();
}

}  // namespace console
