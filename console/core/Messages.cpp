#include "console/core/Messages.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStyle>

#include "console/core/ConsoleState.h"
#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kUnknownError = 31001;
constexpr int kUnexpected = 15252;
constexpr int kTitleBarControls = 4;  // the window's icon and its three buttons
constexpr int kWarningTitle = 15012;
constexpr int kCriticalTitle = 15013;
constexpr int kQuestionTitle = 15014;

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

QString KindTitle(int kind) {
    switch (kind) {
        case kWarning:
            return LoadString(kWarningTitle);
        case kCritical:
            return LoadString(kCriticalTitle);
        case kQuestion:
            return LoadString(kQuestionTitle);
        default:
            return {};
    }
}

MessageDetour& Detour() {
    static MessageDetour detour;
    return detour;
}

std::optional<int> Detoured(int id) {
    return Detour() ? Detour()(id) : std::nullopt;
}

// A short text makes a narrow box, whose title bar the window manager then cuts beside its own
// icon and buttons: the box keeps room for the whole title and four of those.
void MakeRoomForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    const int decorations =
        kTitleBarControls * box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    grid->addItem(new QSpacerItem(metrics.horizontalAdvance(box.windowTitle()) + decorations, 0),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

int Show(const MessageShown& shown) {
    if (Hook()) {
        return Hook()(shown);
    }
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(shown.title);
    box.setText(shown.text);
    const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Warning, QMessageBox::Critical,
                                       QMessageBox::Question};
    box.setIcon(shown.kind >= kWarning && shown.kind <= kQuestion ? icons[shown.kind] : QMessageBox::NoIcon);
    box.setStandardButtons(shown.kind == kQuestion ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
    MakeRoomForTitle(box);  // last: a new icon or text lays the box out anew
    return box.exec() == QMessageBox::Cancel ? kCancel : kOk;
}

}  // namespace

void SetMessageHook(MessageHook hook) {
    Hook() = std::move(hook);
}

void SetMessageDetour(MessageDetour detour) {
    Detour() = std::move(detour);
}

QString ResultText(int code) {
    const bool libraryBlock = (code >= 20001 && code <= 23015) || (code >= 25001 && code <= 25014) ||
                              (code >= 30001 && code <= 31010);
    return libraryBlock && HasString(code) ? LoadString(code)
                                           : LoadString(kUnknownError) + ' ' + QString::number(code);
}

int ShowMessage(int id, int kind) {
    if (const std::optional<int> answer = Detoured(id)) {
        return *answer;
    }
    return Show({kind, KindTitle(kind), LoadString(id)});
}

int ShowResult(int code, int kind) {
    if (const std::optional<int> answer = Detoured(code)) {
        return *answer;
    }
    return Show({kind, KindTitle(kind), ResultText(code)});
}

int ShowMessageEx(int id, int kind, const QString& extra) {
    QString text;
    try {
        text = LoadString(id);
    } catch (const std::exception&) {
        Show({kPlain, State().productTitle, LoadString(kUnexpected)});
        return kNoButton;
    }
    return Show({kind, KindTitle(kind), text + ' ' + extra});
}

int ShowTextMessage(const QString& text, int kind) {
    return Show({kind, KindTitle(kind), text});
}

int ShowPlainMessage(const QString& text, const QString& title) {
    return Show({kPlain, title, text});
}

int ShowQuestion(const QString& text, const QString& title) {
    return Show({kQuestion, title, text});
}

}  // namespace console
