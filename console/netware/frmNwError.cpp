#include "console/netware/frmNwError.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "console/core/FormHelpers.h"
#include "console/core/Messages.h"
#include "console/core/StringTable.h"
#include "console/netware/NetWareForms.h"
#include "console/netware/NetWareGlobals.h"

namespace console {

namespace {

constexpr int kProductTitle = 0;
constexpr int kPrintServerRefused = 25011;
constexpr int kPrinterNotCreated = 30021;
constexpr int kNoSuchRow = 30027;
constexpr int kReasonsHeading = 15020;
constexpr int kFirstReason = 15021;
constexpr int kLastReason = 15024;
constexpr int kPrivilegesOrPrintServer = 15029;
constexpr int kSettingsOrQueue = 15030;
constexpr int kOkCaption = 15031;
constexpr int kDetailsCaption = 15032;

// The message shown for an id: two of them say more than their own text.
QString ErrorText(int id) {
    switch (id) {
        case kPrinterNotCreated:
            return LoadString(kPrivilegesOrPrintServer);
        case kNoSuchRow:
            return LoadString(kSettingsOrQueue);
        default:
            return LoadString(id);
    }
}

}  // namespace

bool HasReasons(int id) {
    return id == kPrintServerRefused || id == kPrinterNotCreated || id == kNoSuchRow;
}

frmNwError::frmNwError(QWidget* owner)
    : QDialog(owner),
      imgIcon(new QLabel),
      lblErrorString(new QLabel(ErrorText(NwErrorId))),
      picDetails(new QLabel),
      cmdOk(NamedButton("cmdOk", LoadString(kOkCaption))),
      cmdDetails(NamedButton("cmdDetails", LoadString(kDetailsCaption))) {
    setWindowTitle(LoadString(kProductTitle));
    imgIcon->setObjectName("imgIcon");
    imgIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    lblErrorString->setObjectName("lblErrorString");
    lblErrorString->setWordWrap(true);
    lblErrorString->setMinimumWidth(320);
    picDetails->setObjectName("picDetails");
    picDetails->setFrameShape(QFrame::StyledPanel);
    picDetails->setTextFormat(Qt::RichText);
    picDetails->setMargin(6);
    picDetails->hide();

    auto* message = new QHBoxLayout;
    message->addWidget(imgIcon, 0, Qt::AlignTop);
    message->addWidget(lblErrorString, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdDetails);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(message);
    layout->addLayout(buttons);
    layout->addWidget(picDetails);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (NwErrorId == kPrintServerRefused) {
        ShowReasons();
    } else {
        cmdDetails->hide();
    }
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdDetails, &QPushButton::clicked, this, &frmNwError::cmdDetails_Click);
    PlaceAgainst(this, owner);
}

void frmNwError::ShowReasons() {
    QString reasons = "<b>" + LoadString(kReasonsHeading).toHtmlEscaped() + "</b>";
    for (int id = kFirstReason; id <= kLastReason; ++id) {
        reasons += "<br>" + LoadString(id).toHtmlEscaped();
    }
    picDetails->setText(reasons);
}

// The fixed-size layout grows and shrinks the dialog by the pane's height.
void frmNwError::cmdDetails_Click() {
    picDetails->setVisible(!picDetails->isVisible());
}

void ShowNetWareErrorDialog(QWidget* owner) {
    frmNwError dialog(owner);
    dialog.exec();
}

void WireNetWareErrorDialog() {
    SetMessageDetour([](int id) -> std::optional<int> {
        if (NwErrorDialogFlag != -1 || !HasReasons(id)) {
            return std::nullopt;
        }
        NwErrorId = id;
        ShowNetWareErrorDialog(QApplication::activeWindow());
        return kOk;
    });
}

int ShowNetWareSetupResult(int code) {
    if (code == 0) {
        return kOk;
    }
    const int16_t was = NwErrorDialogFlag;
    NwErrorDialogFlag = -1;
    const int answer = ShowResult(code, kWarning);
    NwErrorDialogFlag = was;
    return answer;
}

}  // namespace console
