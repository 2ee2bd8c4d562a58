#include "console/configuration/DialogBehaviours.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

#include "console/core/FormHelpers.h"
#include "console/core/PasswordCharacters.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

class TipFilter : public QObject {
  public:
    TipFilter(QObject* parent, QLabel* tips, QString text, std::function<bool()> when)
        : QObject(parent), tips_(tips), text_(std::move(text)), when_(std::move(when)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Enter) {
            if (!when_ || when_()) {
                tips_->setText(text_);
            }
        } else if (event->type() == QEvent::Leave) {
            tips_->clear();
        }
        return false;
    }

  private:
    QLabel* tips_;
    QString text_;
    std::function<bool()> when_;
};

}  // namespace

void ShowTipOnHover(QWidget* control, QLabel* tips, int id, std::function<bool()> when) {
    control->installEventFilter(new TipFilter(control, tips, LoadString(id).trimmed(), std::move(when)));
}

QLineEdit* MaskedBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    RefuseCharactersOutsideCodePage(box);
    box->setEchoMode(QLineEdit::Password);
    box->setMinimumWidth(180);
    SelectAllOnFocus(box);
    return box;
}

MaskedForm LayOutMaskedForm(QDialog* dialog, const std::vector<QString>& captions) {
    MaskedForm form;
    auto* fields = new QFormLayout;
    for (const QString& caption : captions) {
        auto* label = new QLabel(caption, dialog);
        QLineEdit* box = MaskedBox(dialog);
        label->setBuddy(box);
        fields->addRow(label, box);
        form.rows.emplace_back(label, box);
    }
    auto* buttons = new QDialogButtonBox(dialog);
    form.ok = buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    form.cancel = buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    form.ok->setDefault(true);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(16);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    dialog->setMinimumWidth(360);
    return form;
}

}  // namespace console
