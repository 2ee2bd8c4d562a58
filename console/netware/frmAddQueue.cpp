// The add queue dialog's layout, its load and its lists: the file servers and trees, and the queues
// of the chosen source (with the offer of a login while a listing fails).
#include "console/netware/frmAddQueue.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "console/core/ConsoleState.h"
#include "console/core/FormHelpers.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "console/core/dialogs/DialogKit.h"
#include "console/netware/NetWareForms.h"
#include "console/netware/NetWareGlobals.h"
#include "console/netware/NetWareLibraries.h"
#include "console/netware/NetWareReads.h"
#include "console/netware/ServicedQueues.h"
#include "console/netware/frmLogin.h"

namespace console {

namespace {

constexpr int kCaption = 5100;
constexpr int kClientMissing = 12027;
constexpr int kListError = 5130;
constexpr int kFileServersFailed = 5131;
constexpr int kTreesFailed = 5132;
constexpr int kQueuesError = 5140;
constexpr int kNoQueues = 5141;
constexpr int kQueueClass = 5150;
constexpr int kUnknownError = 31001;
constexpr std::uint32_t kTreeNameRoom = 100;
constexpr int kLoginBindery = 1;
constexpr int kLoginServerInTree = 2;
constexpr int kLoginTree = 3;

}  // namespace

frmAddQueue::frmAddQueue(QWidget* parent) : QDialog(parent) {
    LayOut();
    ConnectControls();
    Form_Load();
}

void frmAddQueue::LayOut() {
    setWindowTitle(LoadString(kCaption));
    const QStyle* style = QApplication::style();
    pictures_ = {style->standardIcon(QStyle::SP_FileIcon), style->standardIcon(QStyle::SP_DirIcon)};
    optFileServers = new QRadioButton(LoadString(5102));
    cmbFileServers = new QComboBox;
    optNdsTrees = new QRadioButton(LoadString(5103));
    cmbNdsTrees = new QComboBox;
    lblCurrentContext = new QLabel(LoadString(5104));
    txtCurrentContext = new QLineEdit;
    lblCurrentContext->setBuddy(txtCurrentContext);
    imgBack = new QToolButton;
    imgBack->setIcon(style->standardIcon(QStyle::SP_FileDialogToParent));
    auto* source = new QGridLayout;
    source->addWidget(optFileServers, 0, 0);
    source->addWidget(cmbFileServers, 0, 1, 1, 2);
    source->addWidget(optNdsTrees, 1, 0);
    source->addWidget(cmbNdsTrees, 1, 1, 1, 2);
    source->addWidget(lblCurrentContext, 2, 0);
    source->addWidget(txtCurrentContext, 2, 1);
    source->addWidget(imgBack, 2, 2);
    source->setColumnStretch(1, 1);

    grdItems = new QTableWidget(0, 2);
    grdItems->horizontalHeader()->hide();
    grdItems->horizontalHeader()->setStretchLastSection(true);
    grdItems->verticalHeader()->hide();
    grdItems->setShowGrid(false);
    grdItems->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdItems->setSelectionMode(QAbstractItemView::SingleSelection);
    grdItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdItems->setMinimumSize(260, 180);
    auto* pnlItems = new QGroupBox(LoadString(5108));
    (new QVBoxLayout(pnlItems))->addWidget(grdItems);

    cmdLogin = new QPushButton(LoadString(5101));
    cmdCreateQueue = new QPushButton(LoadString(5110));
    cmdDeleteQueue = new QPushButton(LoadString(5106));
    cmdSelectMode = new QPushButton(LoadString(5105));
    auto* actions = new QVBoxLayout;
    for (QPushButton* button : {cmdLogin, cmdCreateQueue, cmdDeleteQueue, cmdSelectMode}) {
        actions->addWidget(button);
    }
    actions->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(pnlItems, 1);
    middle->addLayout(actions);

    auto* intro = new QLabel(LoadString(5111));
    intro->setWordWrap(true);
    pnlOpGuide = new HintLine(this);
    cmdOk = new QPushButton(LoadString(5107));
    cmdCancel = new QPushButton(LoadString(5109));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(source);
    layout->addLayout(middle, 1);
    layout->addWidget(intro);
    layout->addWidget(GuidePanel(pnlOpGuide, {lblCurrentContext, grdItems, intro}));
    layout->addLayout(ButtonRow({cmdOk, cmdCancel}));
}

void frmAddQueue::ConnectControls() {
    connect(optFileServers, &QRadioButton::clicked, this, &frmAddQueue::UpdateSourceControls);
    connect(optNdsTrees, &QRadioButton::clicked, this, &frmAddQueue::UpdateSourceControls);
    connect(cmbFileServers, &QComboBox::activated, this, &frmAddQueue::cmbFileServers_Click);
    connect(cmbNdsTrees, &QComboBox::activated, this, &frmAddQueue::cmbNdsTrees_Click);
    // A context typed in is listed once the focus leaves the box, so that the grid shows the queues
    // of the box's context; an emptied box leaves nothing to add.
    connect(txtCurrentContext, &QLineEdit::editingFinished, this, &frmAddQueue::ListTypedContext);
    txtCurrentContext->installEventFilter(this);
    connect(txtCurrentContext, &QLineEdit::textChanged, this, [this](const QString& context) {
        imgBack->setVisible(!Bindery() && !context.isEmpty() && context != kRootContext);
        RowChanged();
    });
    connect(imgBack, &QToolButton::clicked, this, &frmAddQueue::GoUp);
    connect(grdItems, &QTableWidget::itemSelectionChanged, this, &frmAddQueue::RowChanged);
    connect(grdItems, &QTableWidget::cellDoubleClicked, this, &frmAddQueue::GoDown);
    grdItems->installEventFilter(this);
    connect(cmdLogin, &QPushButton::clicked, this, &frmAddQueue::cmdLogin_Click);
    connect(cmdCreateQueue, &QPushButton::clicked, this, &frmAddQueue::cmdCreateQueue_Click);
    // These act on the chosen queue at the box's context: one typed in and not listed yet (its
    // mnemonic leaves the focus in the box) is listed first, as the focus move of a click lists it,
    // and the command goes on when what is then listed still allows it.
    const std::pair<QPushButton*, void (frmAddQueue::*)()> onQueue[] = {
        {cmdDeleteQueue, &frmAddQueue::cmdDeleteQueue_Click},
        {cmdSelectMode, &frmAddQueue::cmdSelectMode_Click},
        {cmdOk, &frmAddQueue::cmdOk_Click}};
    for (const auto& [button, command] : onQueue) {
        connect(button, &QPushButton::clicked, this, [this, button = button, command = command] {
            ListTypedContext();
            if (button->isEnabled()) {
                (this->*command)();
            }
        });
    }
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    const std::pair<QWidget*, int> hints[] = {
        {optFileServers, 9210}, {optNdsTrees, 9211},    {txtCurrentContext, 9212},
        {cmdLogin, 9213},       {cmdCreateQueue, 9214}, {cmdSelectMode, 9215},
        {cmdDeleteQueue, 9216}, {cmdOk, 9217},          {cmdCancel, 9218}};
    for (const auto& [control, id] : hints) {
        pnlOpGuide->Attach(control, id);
    }
}

bool frmAddQueue::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || (watched != grdItems && watched != txtCurrentContext)) {
        return QDialog::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        // In the context box Enter lists the context typed and presses no button besides; in the
        // grid it opens the chosen container.
        watched == txtCurrentContext ? ListTypedContext() : GoDown();
        return true;
    }
    if (watched != grdItems) {
        return false;
    }
    const bool shift = (key->modifiers() & Qt::ShiftModifier) != 0;
    const auto press = [shift](QPushButton* button) {
        if (button->isEnabled() && !shift) {
            button->click();
        }
        return true;
    };
    switch (key->key()) {
        case Qt::Key_Up:
            if (grdItems->currentRow() == 0 && imgBack->isVisible() && !shift) {
                GoUp();
                return true;
            }
            return false;
        case Qt::Key_Delete:
            return press(cmdDeleteQueue);
        case Qt::Key_Insert:
            return press(cmdCreateQueue);
        default:
            return false;
    }
}

void frmAddQueue::ListTypedContext() {
    if (Bindery() || !txtCurrentContext->isModified()) {
        return;
    }
    txtCurrentContext->setModified(false);
    keepContext_ = true;
    cmbNdsTrees_Click();
    keepContext_ = false;
}

void frmAddQueue::Form_Load() {
    const BusyCursor busy;
    try {
        // One message for the load, naming each list that failed: both fail alike when there is no
        // NetWare network at all.
        QStringList failures;
        const bool trees = FillNameList(cmbNdsTrees, optNdsTrees, true, failures);
        const bool servers = FillNameList(cmbFileServers, optFileServers, false, failures);
        if (!failures.isEmpty()) {
            ShowTextMessage(failures.join('\n'), kWarning);
        }
        (trees ? optNdsTrees : optFileServers)->setChecked(true);
        if (trees || servers) {
            listsAvailable_ = true;
            UpdateSourceControls();
            return;
        }
    } catch (const LibraryMissing&) {
        ShowMessage(kClientMissing, kWarning);
        clientMissing_ = true;
    }
    for (QWidget* control : std::initializer_list<QWidget*>{cmdOk, cmdCreateQueue, cmdDeleteQueue, cmdLogin,
                                                            cmdSelectMode, grdItems, txtCurrentContext}) {
        control->setEnabled(false);
    }
    imgBack->hide();
}

// The file servers or the trees into the list; false when none came (the source is then off). A
// failure is added to `failures`, with the list's name.
bool frmAddQueue::FillNameList(QComboBox* list, QRadioButton* option, bool trees, QStringList& failures) {
    list->clear();
    const NetWareList names =
        ReadNetWareList([trees](char* buffer, std::uint32_t* length, std::int32_t* count) {
            return trees ? tessik::NwListTrees(buffer, length, count)
                         : tessik::NwListFs(buffer, length, count);
        });
    if (names.result != kNwOk) {
        failures << LoadString(trees ? kTreesFailed : kFileServersFailed) + ' ' + ResultText(names.result);
        list->addItem(LoadString(kListError));
    }
    const QStringList records = NameListRecords(names.text);
    list->addItems(records);
    list->setCurrentIndex(0);
    option->setEnabled(!records.isEmpty());
    list->setEnabled(!records.isEmpty());
    return !records.isEmpty();
}

bool frmAddQueue::Bindery() const {
    return optFileServers->isChecked();
}

void frmAddQueue::UpdateSourceControls() {
    if (!listsAvailable_) {
        return;
    }
    const bool nds = optNdsTrees->isChecked();
    cmbFileServers->setEnabled(!nds);
    for (QWidget* control :
         std::initializer_list<QWidget*>{cmbNdsTrees, lblCurrentContext, txtCurrentContext}) {
        control->setEnabled(nds);
    }
    imgBack->setVisible(nds);
    if (nds) {
        cmbNdsTrees_Click();
        return;
    }
    txtCurrentContext->clear();
    cmbFileServers_Click();
}

// The grid after a listing: its failure line, its empty line, or the queues (and containers).
void frmAddQueue::ShowListing(const NetWareList& listing, bool bindery) {
    listed_ = listing.result == kNwOk && listing.count > 0;
    if (listing.result != kNwOk) {
        if (!quiet_) {
            ShowResult(listing.result, kWarning);
        }
        ShowGridMark(grdItems, LoadString(kQueuesError));
    } else if (listing.count == 0) {
        ShowGridMark(grdItems, LoadString(kNoQueues));
    } else if (bindery) {
        FillNameGrid(grdItems, listing.text, pictures_, LoadString(kNoQueues));
    } else {
        FillGrid(grdItems, listing.text, pictures_);
    }
    cmdCreateQueue->setEnabled(listing.result == kNwOk && !NeedsContext());
    for (QPushButton* button : {cmdOk, cmdDeleteQueue, cmdSelectMode}) {
        button->setEnabled(false);
    }
    if (listed_) {
        HighlightGridRow(grdItems, 0);
        RowChanged();
    }
}

// Runs a listing until it succeeds or the person no longer logs in.
NetWareList frmAddQueue::ListWithLogin(const ListCall& call) {
    NetWareList listing = ReadNetWareList(call);
    while (listing.result != kNwOk && OfferLogin()) {
        listing = ReadNetWareList(call);
    }
    return listing;
}

void frmAddQueue::cmbFileServers_Click() {
    if (!listsAvailable_) {
        return;
    }
    const BusyCursor busy;
    const QByteArray server = NetWareText(cmbFileServers->currentText());
    ShowListing(ListWithLogin([&](char* buffer, std::uint32_t* length, std::int32_t* count) {
                    return tessik::NwBiGetQueueList(server.constData(), buffer, length, count);
                }),
                true);
}

void frmAddQueue::cmbNdsTrees_Click() {
    if (!listsAvailable_) {
        return;
    }
    const BusyCursor busy;
    QByteArray tree = NetWareText(cmbNdsTrees->currentText());
    if (!keepContext_) {
        QString context;
        const NwResult result = ReadContext(tree, context);
        txtCurrentContext->setText(context);
        // Without its context the tree has nothing to list: the listing fails with the read's message.
        if (result != kNwOk) {
            ShowListing({result, QString(), 0}, false);
            return;
        }
    }
    const QByteArray context = NetWareText(txtCurrentContext->text());
    const QByteArray className = NetWareText(LoadString(kQueueClass));
    ShowListing(ListWithLogin([&](char* buffer, std::uint32_t* length, std::int32_t* count) {
                    return tessik::NwNdsBrowse(tree.data(), context.constData(), className.constData(),
                                               buffer, length, count);
                }),
                false);
}

// Offers the login dialog while a listing fails: true when the person logged in, false when they
// cancelled or the login could not even be offered (which ends the offers as a cancel would).
bool frmAddQueue::OfferLogin() {
    return RefreshLoginState() && NwLoginResult == 0;
}

// Prepares the login globals for the chosen source and shows the login dialog; false when the file
// server's version or the tree's context could not be read (with its message, no dialog).
bool frmAddQueue::RefreshLoginState() {
    busy_ = true;
    loginStartKind_ = kLoginTree;
    NwResult result = kNwOk;
    if (Bindery()) {
        const QByteArray server = NetWareText(cmbFileServers->currentText());
        std::int32_t version = 0;
        QByteArray tree(static_cast<qsizetype>(kTreeNameRoom) + 1, ' ');
        std::uint32_t length = kTreeNameRoom;
        result = tessik::NwGetVerInfo(server.constData(), &version, tree.data(), &length);
        loginStartKind_ = version == 3 ? kLoginBindery : version == 4 ? kLoginServerInTree : 0;
        if (result == kNwOk && loginStartKind_ == kLoginServerInTree) {
            QByteArray treeName = NetWareText(LibraryText(tree, length));
            NwLoginTree = QString::fromLatin1(treeName);
            result = ReadContext(treeName, NwLoginContext);
        }
        NwLoginServer = cmbFileServers->currentText();
    } else {
        NwLoginTree = cmbNdsTrees->currentText();
        NwLoginContext = txtCurrentContext->text();
    }
    if (result != kNwOk) {
        ShowResult(result, kWarning);
        busy_ = false;
        return false;
    }
    NwLoginKind = static_cast<int16_t>(loginStartKind_);
    ShowLoginDialog(this);
    if (NwLoginResult == 0 && loginStartKind_ == kLoginServerInTree && NwLoginKind == kLoginTree) {
        const int found = cmbNdsTrees->findText(NwLoginTree, Qt::MatchFixedString);
        if (found < 0 || !optNdsTrees->isEnabled()) {
            ShowMessage(kUnknownError, kWarning);
        } else {
            cmbNdsTrees->setCurrentIndex(found);
            optNdsTrees->setChecked(true);
        }
    }
    busy_ = false;
    return true;
}

}  // namespace console
