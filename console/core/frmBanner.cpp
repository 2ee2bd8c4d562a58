#include "console/core/frmBanner.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "console/core/Pictures.h"

namespace console {

frmBanner::frmBanner(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), pnlHolder(new QFrame), image1(new QLabel) {
    setObjectName("frmBanner");
    setAttribute(Qt::WA_DeleteOnClose);
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

}  // namespace console
