#include "console/core/PasswordCharacters.h"

#include <QLineEdit>
#include <QValidator>

#include <optional>
#include <utility>

#include "console/core/Messages.h"

namespace console {

namespace {

constexpr int kPasswordCharacter = 12160;

class CodePageFilter : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (const QChar c : input) {
            if (c.unicode() > 0xFF) {
                refused_ = c;
                return Invalid;
            }
        }
        return Acceptable;
    }
    // The character last refused, once; none when the box refused the key for another reason.
    std::optional<QChar> TakeRefused() const { return std::exchange(refused_, std::nullopt); }

  private:
    mutable std::optional<QChar> refused_;
};

}  // namespace

void RefuseCharactersOutsideCodePage(QLineEdit* passwordBox) {
    auto* filter = new CodePageFilter(passwordBox);
    passwordBox->setValidator(filter);
    QObject::connect(passwordBox, &QLineEdit::inputRejected, passwordBox, [filter] {
        if (const std::optional<QChar> refused = filter->TakeRefused()) {
            ShowMessageEx(kPasswordCharacter, kWarning, QString(*refused));
        }
    });
}

}  // namespace console
