// Draws the program's logo, the picture on the splash window: a puck on the ice between two
// crossed sticks, 150 x 127 pixels. Run it to remake the picture after a change here:
//
//   build/program/make_logo assets/logo.png
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

namespace {

constexpr int kWidth = 150;
constexpr int kHeight = 127;

// A stick lying from the top corner down to the blade at the bottom, mirrored for the
// other one: a wooden shaft, black tape near the blade, and the blade turning outwards.
void drawStick(QPainter& p, bool mirrored) {
    p.save();
    if (mirrored) {
        p.translate(kWidth, 0);
        p.scale(-1, 1);
    }
    QPainterPath shaft;
    shaft.moveTo(18, 6);
    shaft.lineTo(27, 3);
    shaft.lineTo(106, 96);
    shaft.lineTo(98, 101);
    shaft.closeSubpath();
    QLinearGradient wood(18, 6, 27, 3);
    wood.setColorAt(0, QColor(0xC8, 0x8A, 0x4B));
    wood.setColorAt(1, QColor(0x8E, 0x55, 0x26));
    p.setPen(QPen(QColor(0x4A, 0x2C, 0x12), 1.2));
    p.setBrush(wood);
    p.drawPath(shaft);

    QPainterPath blade;
    blade.moveTo(98, 101);
    blade.lineTo(106, 96);
    blade.quadTo(116, 110, 136, 110);
    blade.lineTo(137, 118);
    blade.quadTo(108, 121, 98, 101);
    p.setBrush(QColor(0x1C, 0x1C, 0x1C));
    p.setPen(QPen(Qt::black, 1));
    p.drawPath(blade);

    // White tape bands on the shaft, just above the blade.
    p.setPen(QPen(QColor(0xF2, 0xF2, 0xF2), 2.2));
    for (double t : {0.80, 0.84, 0.88}) {
        const QPointF a(18 + (98 - 18) * t, 6 + (101 - 6) * t);
        const QPointF b(27 + (106 - 27) * t, 3 + (96 - 3) * t);
        p.drawLine(a, b);
    }
    p.restore();
}

void drawPuck(QPainter& p) {
    const QRectF top(47, 56, 56, 22);
    const double depth = 13;
    // The side of the puck, then its top face with a little shine.
    QPainterPath side;
    side.moveTo(top.left(), top.center().y());
    side.lineTo(top.left(), top.center().y() + depth);
    side.arcTo(top.translated(0, depth), 180, 180);
    side.lineTo(top.right(), top.center().y());
    side.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0E, 0x0E, 0x10));
    p.drawPath(side);
    QRadialGradient face(top.center() - QPointF(10, 4), top.width() * 0.6);
    face.setColorAt(0, QColor(0x5A, 0x5E, 0x66));
    face.setColorAt(1, QColor(0x1A, 0x1B, 0x1F));
    p.setBrush(face);
    p.setPen(QPen(QColor(0x6E, 0x72, 0x7A), 1));
    p.drawEllipse(top);
}

QImage drawLogo() {
    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // The ice: a pale rounded patch with the blue line of a rink across it.
    QLinearGradient ice(0, 0, 0, kHeight);
    ice.setColorAt(0, QColor(0xF4, 0xFA, 0xFF));
    ice.setColorAt(1, QColor(0xC9, 0xE2, 0xF4));
    p.setPen(QPen(QColor(0x1D, 0x4E, 0x89), 3));
    p.setBrush(ice);
    p.drawRoundedRect(QRectF(2.5, 2.5, kWidth - 5, kHeight - 5), 18, 18);
    p.setPen(QPen(QColor(0xC8, 0x10, 0x2E, 160), 4));
    p.drawLine(QPointF(6, 86), QPointF(kWidth - 6, 86));

    drawStick(p, false);
    drawStick(p, true);
    // The puck's shadow on the ice.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawEllipse(QRectF(45, 74, 62, 14));
    drawPuck(p);
    p.end();
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_logo OUTPUT.png\n");
        return 2;
    }
    return drawLogo().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
