#include "console/configuration/AddressBoxes.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "console/configuration/DialogBehaviours.h"
#include "console/core/DeviceAccess.h"

namespace console {

namespace {

constexpr int kOctetDigits = 3;
constexpr int kBoxWidth = 38;

}  // namespace

AddressBoxes::AddressBoxes(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), this);
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        QLineEdit* box = new QLineEdit(this);
        box->setValidator(digits);
        box->setMaxLength(kOctetDigits);
        box->setFixedWidth(kBoxWidth);
        box->setAlignment(Qt::AlignCenter);
        box->installEventFilter(this);
        SelectAllOnFocus(box);
        connect(box, &QLineEdit::textEdited, this, [this, i] { BoxEdited(static_cast<int>(i)); });
        if (i > 0) {
            layout->addWidget(new QLabel(".", this));
        }
        layout->addWidget(box);
        boxes_[i] = box;
    }
    layout->addStretch();
}

QString AddressBoxes::Text() const {
    QStringList parts;
    for (const QLineEdit* box : boxes_) {
        parts << (box->text().isEmpty() ? QString("0") : QString::number(box->text().toInt()));
    }
    return parts.join('.');
}

void AddressBoxes::SetText(const QString& address) {
    const std::vector<QString> parts = ParseReplyPairs(address);
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        const QString part = i < parts.size() ? parts[i].trimmed() : QString();
        boxes_[i]->setText(part.isEmpty() ? QString("0") : part);
    }
}

void AddressBoxes::BoxEdited(int index) {
    emit Edited();
    if (Box(index)->text().size() < kOctetDigits) {
        return;
    }
    if (index + 1 < static_cast<int>(boxes_.size())) {
        Box(index + 1)->setFocus();
    } else if (next_ != nullptr) {
        next_->Box(0)->setFocus();
    }
}

bool AddressBoxes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        auto* box = static_cast<QLineEdit*>(watched);
        box->setText(box->text().isEmpty() ? QString("0") : QString::number(box->text().toInt()));
        emit Left();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace console
