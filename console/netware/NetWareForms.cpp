#include "console/netware/NetWareForms.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

#include "console/core/FormHelpers.h"
#include "console/core/dialogs/DialogKit.h"
#include "netware/TessikResults.h"

namespace console {

namespace {

constexpr std::uint32_t kListBuffer = 7000;
constexpr int kTwipsPerPixel = 15;
constexpr int kRightTwips = 250;
constexpr int kDownTwips = 425;

}  // namespace

QByteArray NetWareText(const QString& text) {
    return text.toLatin1();
}

void PlaceAgainst(QWidget* dialog, QWidget* owner) {
    if (owner == nullptr) {
        CenterForm(dialog);
        return;
    }
    const QPoint offset((kRightTwips + kTwipsPerPixel / 2) / kTwipsPerPixel,
                        (kDownTwips + kTwipsPerPixel / 2) / kTwipsPerPixel);
    dialog->move(owner->frameGeometry().topLeft() + offset);
}

NetWareList ReadNetWareList(const ListCall& call) {
    std::vector<char> buffer(kListBuffer + 1, ' ');
    buffer[kListBuffer] = '\0';
    std::uint32_t length = kListBuffer;
    NetWareList list;
    list.result = call(buffer.data(), &length, &list.count);
    if (list.result == kNwOk && length > kListBuffer) {
        list.result = kNwDoesNotFit;
    }
    if (list.result == kNwOk) {
        list.text = QString::fromLatin1(buffer.data(), static_cast<qsizetype>(length));
    } else {
        list.count = 0;
    }
    return list;
}

QWidget* GuidePanel(HintLine* hint, std::initializer_list<QWidget*> clearing) {
    QWidget* panel = HintPanel(hint);
    panel->setObjectName("pnlOpGuide");
    panel->installEventFilter(hint);
    for (QWidget* control : clearing) {
        control->installEventFilter(hint);
    }
    return panel;
}

QPushButton* NamedButton(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    return button;
}

QLabel* NamedLabel(const char* name, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

QLineEdit* NamedBox(const char* name) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    return box;
}

}  // namespace console
