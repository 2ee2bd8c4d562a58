#include "portmonitor/tests/HelpTour.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>

#include "console/help/HelpWindow.h"

namespace {

constexpr int kPollMs = 20;
constexpr int kBoundMs =
    90000;  // for the dialogs to come on a loaded machine, within the command's own bound

QDialog* Shown(const char* type) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->inherits(type) && window->isVisible()) {
            return static_cast<QDialog*>(window);
        }
    }
    return nullptr;
}

QPushButton* Button(const QDialog* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

// The port dialog once its detection has listed a print server.
bool Listed(const QDialog* ports) {
    const QTreeWidget* list = ports != nullptr ? ports->findChild<QTreeWidget*>() : nullptr;
    return list != nullptr && list->topLevelItemCount() > 0;
}

console::HelpWindow* Help() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* help = qobject_cast<console::HelpWindow*>(window); help != nullptr && help->isVisible()) {
            return help;
        }
    }
    return nullptr;
}

class Tour : public QObject {
  public:
    Tour(QString pictures, std::function<void(const QStringList&)> done)
        : QObject(qApp), pictures_(std::move(pictures)), done_(std::move(done)) {
        connect(&poll_, &QTimer::timeout, this, &Tour::Step);
        poll_.start(kPollMs);
        clock_.start();
    }

  private:
    enum Stage { kPortDialog, kAddPrinterDialog, kClosing };

    void Step() {
        QDialog* ports = Shown("PortDialog");
        QDialog* add = Shown("AddPrinterDialog");
        if (clock_.elapsed() > kBoundMs) {
            met_ << "the dialogs did not come in time";
            for (QDialog* dialog : {add, ports}) {
                if (dialog != nullptr) {
                    dialog->reject();
                }
            }
            Finish();
        } else if (stage_ == kPortDialog && Listed(ports)) {
            Look(ports, "PortDialog");
            QPushButton* more = Button(ports, "&Add New Print Server To List");
            // Its dialog runs modally in the click: the tour goes on from the poll meanwhile.
            QTimer::singleShot(0, more, &QPushButton::click);
            stage_ = kAddPrinterDialog;
        } else if (stage_ == kAddPrinterDialog && add != nullptr) {
            Look(add, "AddPrinterDialog");
            add->reject();
            stage_ = kClosing;
        } else if (stage_ == kClosing && add == nullptr && ports != nullptr) {
            ports->reject();
            Finish();
        }
    }

    // The dialog's Help button, then F1 in it.
    void Look(QDialog* dialog, const QString& type) {
        PutHelpBack();
        QPushButton* help = Button(dialog, "&Help");
        if (help == nullptr || !help->isEnabled()) {
            met_ << type + " Help: " + (help == nullptr ? "no Help button" : "Help disabled");
        } else {
            help->click();
            met_ << type + " Help: " + PageShown();
            if (Help() != nullptr) {
                QDir().mkpath(PICTURE_DIR);
                Help()->grab().save(QString(PICTURE_DIR) + "/" + pictures_ + "HelpWindow-" + type + ".png");
            }
        }
        // F1 as a person presses it: in the dialog, back in front of the help window.
        PutHelpBack();
        dialog->activateWindow();
        if (!QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }, kBoundMs)) {
            met_ << type + " F1: the dialog did not come back in front";
            return;
        }
        QTest::keyClick(dialog->windowHandle(), Qt::Key_F1);
        met_ << type + " F1: " + PageShown();
    }

    static void PutHelpBack() {
        if (Help() != nullptr) {
            Help()->ShowContents();
        }
    }
    static QString PageShown() {
        const console::HelpWindow* help = Help();
        return help == nullptr ? "no help window" : help->Browser()->source().fileName();
    }

    void Finish() {
        poll_.stop();
        done_(met_);
        deleteLater();
    }

    QString pictures_;
    std::function<void(const QStringList&)> done_;
    QTimer poll_;
    QElapsedTimer clock_;
    Stage stage_ = kPortDialog;
    QStringList met_;
};

}  // namespace

void TourPortDialogHelp(const QString& pictures, std::function<void(const QStringList&)> done) {
    new Tour(pictures, std::move(done));
}
