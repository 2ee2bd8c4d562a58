#include "console/core/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>

#include "console/core/StringTable.h"

namespace console {

namespace {

constexpr int kIconCount = 9;
const std::array<QColor, 3> kSetColours = {QColor(0x5b, 0x7d, 0xb1), QColor(0x6e, 0x8b, 0x5a),
                                           QColor(0xa0, 0x7a, 0x4a)};
const std::array<QColor, 3> kStateColours = {QColor(0x2e, 0xa0, 0x43), QColor(0x25, 0x74, 0xd9),
                                             QColor(0xd9, 0x3a, 0x2b)};

// A small desktop printer: paper tray on top, body, output slot, and a status lamp.
QPixmap PrinterPicture(int size, const QColor& body, const QColor& lamp) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.2));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(9, 3, 14, 10));  // paper
    QLinearGradient shade(0, 11, 0, 26);
    shade.setColorAt(0, body.lighter(140));
    shade.setColorAt(1, body);
    painter.setBrush(shade);
    painter.drawRoundedRect(QRectF(3, 11, 26, 14), 3, 3);
    painter.setBrush(QColor(0x30, 0x30, 0x30));
    painter.drawRect(QRectF(8, 21, 16, 2));  // output slot
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(9, 23, 14, 6));  // printed sheet
    painter.setPen(QPen(lamp.darker(150), 1));
    painter.setBrush(lamp);
    painter.drawEllipse(size <= 16 ? QRectF(19, 12, 9, 9) : QRectF(22, 14, 5, 5));
    return picture;
}

}  // namespace

QIcon StatusIconPicture(int icon) {
    const int index = (icon < 1 || icon > kIconCount) ? 0 : icon - 1;
    const QColor body = kSetColours[static_cast<std::size_t>(index / 3)];
    const QColor lamp = kStateColours[static_cast<std::size_t>(index % 3)];
    QIcon picture;
    for (int size : {16, 32, 48}) {
        picture.addPixmap(PrinterPicture(size, body, lamp));
    }
    return picture;
}

QIcon ViewModePicture(int mode) {
    QPixmap picture(20, 20);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const QColor ink(0x3a, 0x5a, 0x8c);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    if (mode == 0) {
        for (int x : {2, 11}) {
            for (int y : {2, 11}) {
                painter.drawRect(x, y, 7, 7);
            }
        }
    } else {
        for (int y = 3; y < 18; y += 5) {
            painter.drawRect(2, y, 4, 3);
            painter.drawRect(8, y, mode == 1 ? 5 : 10, 3);
            if (mode == 1) {
                painter.drawRect(15, y, 3, 3);
            }
        }
    }
    return QIcon(picture);
}

QIcon LocatePicture() {
    QPixmap picture(20, 20);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x3a, 0x5a, 0x8c), 2.2));
    painter.setBrush(QColor(0xdd, 0xea, 0xf7));
    painter.drawEllipse(QRectF(2.5, 2.5, 10, 10));
    painter.setPen(QPen(QColor(0x55, 0x40, 0x30), 3.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(12, 12), QPointF(17.5, 17.5));
    return QIcon(picture);
}

QIcon HelpPicture() {
    QPixmap picture(20, 20);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3a, 0x6e, 0xb8));
    painter.drawEllipse(QRectF(1.5, 1.5, 17, 17));
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(13);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, "?");
    return QIcon(picture);
}

QPixmap BannerPicture() {
    QPixmap banner(460, 180);
    QPainter painter(&banner);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 460, 180);
    sky.setColorAt(0, QColor(0x1d, 0x3a, 0x6b));
    sky.setColorAt(1, QColor(0x1f, 0x7a, 0x8c));
    painter.fillRect(banner.rect(), sky);
    painter.drawPixmap(28, 50, PrinterPicture(80, QColor(0xd8, 0xe0, 0xea), kStateColours[0]));
    painter.setPen(Qt::white);
    QFont title = painter.font();
    title.setPointSize(28);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(130, 40, 320, 50), Qt::AlignLeft | Qt::AlignVCenter, LoadString(0));
    QFont line = painter.font();
    line.setPointSize(11);
    line.setBold(false);
    painter.setFont(line);
    painter.drawText(QRect(132, 92, 320, 24), Qt::AlignLeft | Qt::AlignVCenter, LoadString(802));
    painter.setPen(QColor(0xc8, 0xdc, 0xe8));
    painter.drawText(QRect(132, 118, 320, 24), Qt::AlignLeft | Qt::AlignVCenter, LoadString(803));
    return banner;
}

}  // namespace console
