#include "console/netware/frmBrowse.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "console/core/FormHelpers.h"
#include "console/core/LocalizeForm.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "console/core/dialogs/DialogKit.h"
#include "console/netware/NetWareForms.h"
#include "console/netware/NetWareGlobals.h"
#include "console/netware/NetWareLibraries.h"

namespace console {

namespace {

constexpr int kBaseId = 5500;
constexpr int kEmptyList = 9400;
constexpr int kVolumeCaption = 9401;
constexpr int kContextCaption = 9402;
constexpr int kPrintServerCaption = 9403;
constexpr int kPrintServersUnread = 9404;
constexpr int kGridHint = 9220;
constexpr int kOkHint = 9221;
constexpr int kCancelHint = 9222;

const QString kContextMode = "CONTEXT";
const QString kVolumeMode = "VOLUME";
const QString kPrintServerMode = "PRINT SERVER";

int ModeCaption() {
    if (BrowseMode == kVolumeMode) {
        return kVolumeCaption;
    }
    return BrowseMode == kContextMode ? kContextCaption : kPrintServerCaption;
}

QTableWidget* NewGrid() {
    auto* grid = new QTableWidget(0, 2);
    grid->setObjectName("grdContents");
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setShowGrid(false);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setColumnWidth(0, grid->iconSize().width() + 15);
    grid->setMinimumSize(320, 200);
    return grid;
}

QLineEdit* ShownText(const char* name) {
    QLineEdit* box = NamedBox(name);
    box->setReadOnly(true);
    return box;
}

}  // namespace

frmBrowse::frmBrowse(QWidget* owner)
    : QDialog(owner),
      grdContents(NewGrid()),
      txtCurrentContext(ShownText("txtCurrentContext")),
      txtNDSTree(ShownText("txtNDSTree")),
      txtFileServer(ShownText("txtFileServer")),
      imgBack(new QToolButton),
      cmdOk(NamedButton("cmdOk", "&OK")),
      cmdCancel(NamedButton("cmdCancel", "&Cancel")),
      pnlOpGuide(new HintLine(this)),
      lblCurrentContext(NamedLabel("lblCurrentContext", "Current Context:", txtCurrentContext)),
      lblNdsTree(NamedLabel("lblNdsTree", "NDS Tree:", txtNDSTree)),
      lblFileServers(NamedLabel("lblFileServers", "File Server:", txtFileServer)),
      pnlContents(new QGroupBox("Items")),
      pictures_{style()->standardIcon(QStyle::SP_FileIcon), style()->standardIcon(QStyle::SP_DirIcon)} {
    imgBack->setObjectName("imgBack");
    imgBack->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    imgBack->setAutoRaise(true);
    pnlContents->setObjectName("pnlContents");

    auto* fields = new QGridLayout;
    fields->addWidget(lblNdsTree, 0, 0);
    fields->addWidget(txtNDSTree, 0, 1);
    fields->addWidget(lblFileServers, 1, 0);
    fields->addWidget(txtFileServer, 1, 1);
    fields->addWidget(lblCurrentContext, 2, 0);
    fields->addWidget(txtCurrentContext, 2, 1);
    fields->addWidget(imgBack, 2, 2);
    auto* contents = new QVBoxLayout(pnlContents);
    contents->addWidget(grdContents);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(pnlContents, 1);
    layout->addWidget(
        GuidePanel(pnlOpGuide, {lblCurrentContext, lblNdsTree, lblFileServers, txtCurrentContext, txtNDSTree,
                                txtFileServer, imgBack, pnlContents}));
    layout->addLayout(ButtonRow({cmdOk, cmdCancel}));
    pnlOpGuide->Attach(grdContents, kGridHint);
    pnlOpGuide->Attach(cmdOk, kOkHint);
    pnlOpGuide->Attach(cmdCancel, kCancelHint);

    LocalizeForm(this, kBaseId,
                 CaptionOrder() << lblCurrentContext << lblNdsTree << lblFileServers << cmdOk << cmdCancel
                                << pnlContents);
    setWindowTitle(LoadString(ModeCaption()));
    connect(cmdOk, &QPushButton::clicked, this, &frmBrowse::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBrowse::cmdCancel_Click);
    connect(imgBack, &QToolButton::clicked, this, &frmBrowse::imgBack_Click);
    connect(grdContents, &QTableWidget::cellDoubleClicked, this, &frmBrowse::grdContents_Expand);
    connect(grdContents, &QTableWidget::currentCellChanged, this, &frmBrowse::RowChanged);
    grdContents->installEventFilter(this);

    const BusyCursor hourglass;
    const bool bindery = BinderyList();
    for (QWidget* fileServer :
         {static_cast<QWidget*>(lblFileServers), static_cast<QWidget*>(txtFileServer)}) {
        fileServer->setVisible(bindery);
    }
    for (QWidget* directory : std::initializer_list<QWidget*>{lblNdsTree, txtNDSTree, lblCurrentContext,
                                                              txtCurrentContext, imgBack}) {
        directory->setVisible(!bindery);
    }
    if (bindery) {
        txtFileServer->setText(BrowseFileServer);
        ListBinderyPrintServers();
    } else {
        txtNDSTree->setText(BrowseTree);
        txtCurrentContext->setText(BrowseContext.trimmed().isEmpty() ? QString(kRootContext) : BrowseContext);
        BrowseNds(grdContents, BrowseTree, txtCurrentContext->text(), BrowseMode, pictures_);
    }
    ShowFirstRow();
    adjustSize();
    PlaceAgainst(this, owner);
}

bool frmBrowse::BinderyList() const {
    return BrowseMode == kPrintServerMode && BrowseBindery == -1;
}

void frmBrowse::ListBinderyPrintServers() {
    const QByteArray server = NetWareText(BrowseFileServer);
    const NetWareList list = ReadNetWareList([&](char* buffer, std::uint32_t* length, std::int32_t* count) {
        return tessik::NwBiGetPsList(server.constData(), buffer, length, count);
    });
    if (list.result != kNwOk) {
        ShowResult(list.result, kWarning);
        ShowGridMark(grdContents, LoadString(kPrintServersUnread));
        return;
    }
    FillNameGrid(grdContents, list.count > 0 ? list.text : QString(), pictures_, LoadString(kEmptyList));
}

// A context is always a choice; a volume or a print server must be a real object row (never the
// "<Empty>" or error mark).
void frmBrowse::UpdateOkButton() {
    cmdOk->setEnabled(BrowseMode == kContextMode || IsObjectRow(grdContents, grdContents->currentRow()));
}

void frmBrowse::UpdateBackButton() {
    const QString context = txtCurrentContext->text();
    imgBack->setEnabled(!context.isEmpty() && context != kRootContext);
}

void frmBrowse::RowChanged() {
    if (busy_ || GridBusy()) {
        return;
    }
    HighlightGridRow(grdContents, grdContents->currentRow());
    UpdateOkButton();
}

void frmBrowse::grdContents_Expand() {
    if (!busy_ && !BinderyList() && IsContainerRow(grdContents, grdContents->currentRow())) {
        Walk(ExpandNdsNode);
    }
}

void frmBrowse::imgBack_Click() {
    if (!busy_ && imgBack->isEnabled()) {
        Walk(FillNdsTree);
    }
}

void frmBrowse::Walk(const WalkStep& step) {
    {
        const BusyCursor hourglass;
        step(grdContents, BrowseTree, txtCurrentContext, BrowseMode, pictures_);
    }
    ShowFirstRow();
}

void frmBrowse::ShowFirstRow() {
    HighlightGridRow(grdContents, 0);
    UpdateOkButton();
    UpdateBackButton();
}

bool frmBrowse::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grdContents && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            IsContainerRow(grdContents, grdContents->currentRow())) {
            grdContents_Expand();
            return true;
        }
        if (key == Qt::Key_Up && grdContents->currentRow() <= 0 && imgBack->isVisible()) {
            imgBack_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmBrowse::cmdOk_Click() {
    busy_ = true;
    const BusyCursor hourglass;
    const QString name = GridRowName(grdContents, grdContents->currentRow());
    const QString context = txtCurrentContext->text();
    if (BrowseMode == kContextMode) {
        BrowseChoice = context;
    } else if (BrowseMode == kVolumeMode) {
        BrowseChoice = ChildContext(name, context);
    } else {
        BrowseChoice = name;
        BrowseChoiceContext = BinderyList() ? QString() : context;
    }
    BrowseAccepted = -1;
    busy_ = false;
    accept();
}

void frmBrowse::cmdCancel_Click() {
    reject();
}

void frmBrowse::reject() {
    BrowseAccepted = 0;
    BrowseChoice.clear();
    QDialog::reject();
}

void ShowBrowseDialog(QWidget* owner) {
    BrowseAccepted = 0;
    BrowseChoice.clear();
    frmBrowse dialog(owner);
    dialog.exec();
}

}  // namespace console
