// Draws the program's icon, a scoreboard clock face, as PNG files of the given sizes:
//   make_icon OUTPUT_FOLDER SIZE... -> OUTPUT_FOLDER/SIZExSIZE/pucktally.png
// The digits are the board's own LED cells, so the icon always looks like the board.
#include "display/PolyLED.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

namespace {

QImage drawIcon(int side) {
    QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal border = std::max<qreal>(1.0, side / 24.0);
    painter.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), border));
    painter.setBrush(QColor(0x40, 0x40, 0x40));
    painter.drawRoundedRect(QRectF(border / 2, border / 2, side - border, side - border),
                            side / 8.0, side / 8.0);

    // Two red digits, "1" and "0", side by side on black.
    const int cellWidth = side * 3 / 10;
    const int cellHeight = side * 11 / 20;
    for (int i = 0; i < 2; ++i) {
        PolyLED cell;
        cell.setLitColor(0x0000FF);
        cell.setBackColor(0x000000);
        cell.setCaption(i == 0 ? 1 : 0);
        cell.resize(cellWidth, cellHeight);
        QImage face(cell.size(), QImage::Format_ARGB32_Premultiplied);
        cell.render(&face);
        const int left = side / 2 - cellWidth - side / 40 + i * (cellWidth + side / 20);
        painter.drawImage(QPoint(left, (side - cellHeight) / 2), face);
    }
    return icon;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const int side = QString::fromLocal8Bit(argv[i]).toInt();
        const QString folder = QStringLiteral("%1x%1").arg(side);
        if (side <= 0 || !out.mkpath(folder) ||
            !drawIcon(side).save(out.filePath(folder + QStringLiteral("/pucktally.png"))))
            return 1;
    }
    return 0;
}
