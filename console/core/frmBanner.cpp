#include "console/core/frmBanner.h"

#include <QChildEvent>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

#include "console/core/Pictures.h"

namespace console {

frmBanner::frmBanner(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), pnlHolder(new QFrame), image1(new QLabel) {
    setObjectName("frmBanner");
    connect(this, &QDialog::finished, this, [this] {
        closed_ = true;
        DeleteWhenAlone();
    });
    pnlHolder->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlHolder->setLineWidth(2);
    image1->setPixmap(BannerPicture());
    auto* holder = new QVBoxLayout(pnlHolder);
    holder->setContentsMargins(2, 2, 2, 2);
    holder->addWidget(image1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pnlHolder);
    setFixedSize(sizeHint());
}

void frmBanner::keyPressEvent(QKeyEvent*) {
    close();
}

void frmBanner::mousePressEvent(QMouseEvent*) {
    close();
}

void frmBanner::childEvent(QChildEvent* event) {
    QDialog::childEvent(event);
    if (event->removed() && closed_) {
        DeleteWhenAlone();
    }
}

// A window opened while the splash was the active window belongs to it (a message box, the port
// monitor's dialog); deleting the splash would delete that window from under the command showing it.
void frmBanner::DeleteWhenAlone() {
    const QList<QWidget*> children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    if (std::none_of(children.begin(), children.end(),
                     [](const QWidget* child) { return child->isWindow(); })) {
        closed_ = false;  // once is enough
        deleteLater();
    }
}

}  // namespace console
