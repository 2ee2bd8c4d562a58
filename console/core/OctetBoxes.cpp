#include "console/core/OctetBoxes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>
#include <QValidator>

#include "console/core/FormHelpers.h"

namespace console {

namespace {

constexpr int kOctetDigits = 3;
constexpr int kBoxWidth = 40;

bool IsOctetText(const QString& text) {
    static const QRegularExpression digits("^[0-9]{0,3}$");
    return digits.match(text).hasMatch();
}

// Every edit of a box passes here before the box takes it: no length limit is set on the box, so that
// a pasted address arrives whole.
class OctetValidator : public QValidator {
  public:
    OctetValidator(OctetBoxes* boxes, int index) : QValidator(boxes), boxes_(boxes), index_(index) {}

    State validate(QString& input, int& position) const override {
        if (IsOctetText(input)) {
            return Acceptable;
        }
        if (!input.contains('.') || !boxes_->TakeDotted(index_, input)) {
            return Invalid;
        }
        position = static_cast<int>(input.size());
        return Acceptable;
    }

  private:
    OctetBoxes* boxes_;
    int index_;
};

}  // namespace

OctetBoxes::OctetBoxes(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (int i = 0; i < kBoxes; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString("octet%1").arg(i));
        box->setValidator(new OctetValidator(this, i));
        box->setFixedWidth(kBoxWidth);
        box->setAlignment(Qt::AlignCenter);
        SelectAllOnFocus(box);
        connect(box, &QLineEdit::textEdited, this, [this, i] { BoxEdited(i); });
        if (i > 0) {
            layout->addWidget(new QLabel(".", this));
        }
        layout->addWidget(box);
        boxes_[static_cast<std::size_t>(i)] = box;
    }
    layout->addStretch();
}

bool OctetBoxes::TakeDotted(int index, QString& text) {
    const QStringList parts = text.split('.');
    for (const QString& part : parts) {
        if (!IsOctetText(part)) {
            return false;
        }
    }
    const bool whole = parts.size() == kBoxes && !parts.contains(QString());
    const int first = whole ? 0 : index;
    if (!whole && parts.front().isEmpty()) {
        return false;  // a "." in an empty box, or before any digit: nothing to finish
    }
    // The box that takes the last part; a dot behind the last box moves on as a third digit does.
    int last = first;
    for (int part = 0; part < parts.size(); ++part) {
        if (first + part >= kBoxes) {
            last = parts[part].isEmpty() ? kBoxes : kBoxes - 1;
            break;
        }
        last = first + part;
        if (last != index && !parts[part].isEmpty()) {
            Box(last)->setText(parts[part]);
        }
    }
    text = parts[index - first];
    moving_ = true;
    // After the box has taken its text: the focus may not move while the box is still editing.
    QTimer::singleShot(0, this, [this, last] {
        moving_ = false;
        MoveTo(last);
    });
    return true;
}

void OctetBoxes::BoxEdited(int index) {
    emit Edited(index);
    if (!moving_ && Box(index)->text().size() >= kOctetDigits) {
        MoveTo(index + 1);
    }
}

void OctetBoxes::MoveTo(int index) {
    if (index < kBoxes) {
        Box(index)->setFocus();
        SelectAllText(Box(index));
    } else if (next_ != nullptr) {
        next_->MoveTo(0);
    }
}

}  // namespace console
