// Draws the program's icon at every size a desktop asks for:
//   make_icon DIR      writes DIR/markwise_16.png ... DIR/markwise_256.png
// A teal tile, the skin's accent (it stands out on the slate caption), with
// a histogram of four bars: what the program makes of a class's scores. Small sizes are laid out on
// whole pixels so the bars stay crisp.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace {

QImage DrawIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);

    const double radius = size * 0.2;
    QLinearGradient face(0, 0, 0, size);
    face.setColorAt(0, QColor(0x3F, 0xB5, 0xA5));
    face.setColorAt(1, QColor(0x1D, 0x7A, 0x6E));
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), radius, radius);
    p.setPen(QPen(QColor(0x15, 0x5C, 0x53), 1));
    p.setBrush(face);
    p.drawPath(tile);

    // Four bars on a baseline; the tallest in warm yellow.
    p.setRenderHint(QPainter::Antialiasing, false);
    const int margin = std::max(2, int(std::lround(size * 0.13)));
    const int inner = size - 2 * margin;
    const int gap = std::max(1, int(std::lround(size / 16.0)));
    const int bar = (inner - 3 * gap) / 4;
    const int left = margin + (inner - (4 * bar + 3 * gap)) / 2;
    const int base = size - margin;
    const int line = std::max(1, size / 24);
    const double heights[] = {0.45, 0.85, 0.62, 0.3};
    for (int k = 0; k < 4; ++k) {
        const int h = std::max(2, int(std::lround((inner - line) * heights[k])));
        const QColor c = k == 1 ? QColor(0xFF, 0xDD, 0x7A) : QColor(0xF2, 0xFA, 0xF8);
        p.fillRect(QRect(left + k * (bar + gap), base - line - h, bar, h), c);
    }
    p.fillRect(QRect(margin - gap, base - line, inner + 2 * gap, line), QColor(0xFF, 0xFF, 0xFF));
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_icon DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) return 1;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString file = dir.filePath(QStringLiteral("markwise_%1.png").arg(size));
        if (!DrawIcon(size).save(file)) {
            std::fprintf(stderr, "make_icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
