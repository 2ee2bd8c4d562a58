#include "console/configuration/AddressBoxes.h"

#include <QEvent>
#include <QLineEdit>

#include "console/core/DeviceAccess.h"

namespace console {

namespace {

QString PlainNumber(const QString& octet) {
    return octet.isEmpty() ? QString("0") : QString::number(octet.toInt());
}

}  // namespace

AddressBoxes::AddressBoxes(QWidget* parent) : OctetBoxes(parent) {
    for (QLineEdit* box : Boxes()) {
        box->installEventFilter(this);
    }
}

QString AddressBoxes::Text() const {
    QStringList parts;
    for (const QLineEdit* box : Boxes()) {
        parts << PlainNumber(box->text());
    }
    return parts.join('.');
}

void AddressBoxes::SetText(const QString& address) {
    const std::vector<QString> parts = ParseReplyPairs(address);
    for (int i = 0; i < kBoxes; ++i) {
        const QString part =
            i < static_cast<int>(parts.size()) ? parts[static_cast<std::size_t>(i)].trimmed() : QString();
        Box(i)->setText(part.isEmpty() ? QString("0") : part);
    }
}

void AddressBoxes::CommitTyped() {
    for (QLineEdit* box : Boxes()) {
        box->setText(PlainNumber(box->text()));
    }
    emit Left();
}

bool AddressBoxes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        auto* box = static_cast<QLineEdit*>(watched);
        box->setText(PlainNumber(box->text()));
        emit Left();
    }
    return OctetBoxes::eventFilter(watched, event);
}

}  // namespace console
