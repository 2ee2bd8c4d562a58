#include "portmonitor/dialogs/MonitorMessages.h"

#include <QApplication>
#include <QMessageBox>

#include "portmonitor/MonitorStrings.h"

namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

bool Show(MessageKind kind, const std::string& text, const std::string& caption) {
    if (Hook()) {
        return Hook()(kind, text, caption);
    }
    const QMessageBox::Icon icon = kind == MessageKind::Error      ? QMessageBox::Critical
                                   : kind == MessageKind::Question ? QMessageBox::Question
                                                                   : QMessageBox::NoIcon;
    const QMessageBox::StandardButtons buttons =
        kind == MessageKind::Question ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok;
    QMessageBox box(icon, QString::fromStdString(caption), QString::fromStdString(text), buttons,
                    QApplication::activeWindow());
    return box.exec() == QMessageBox::Ok;
}

}  // namespace

void SetMessageHook(MessageHook hook) {
    Hook() = std::move(hook);
}

void ShowErrorMessage(int stringId) {
    if (const char* text = LoadMonitorString(stringId)) {
        Show(MessageKind::Error, text, "Vorlane Network Print Monitor : Error");
    }
}

void ShowNotice(const std::string& text, const std::string& caption) {
    Show(MessageKind::Notice, text, caption);
}

bool AskOkCancel(const std::string& text, const std::string& caption) {
    return Show(MessageKind::Question, text, caption);
}
