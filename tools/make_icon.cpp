// Draws the program's icon, and the icon of its class files, at every size a
// desktop asks for:
//   make_icon DIR      writes DIR/markwise_16.png ... DIR/markwise_256.png
//                      and DIR/class_file_16.png ... DIR/class_file_256.png
// A teal tile, the skin's accent (it stands out on the slate caption), with
// a histogram of four bars: what the program makes of a class's scores. A
// class file is a white page with a folded corner carrying the same bars, so
// a file manager shows it as a document that belongs to the program. Small
// sizes are laid out on whole pixels so the bars stay crisp.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <utility>

namespace {

// Four bars on a baseline inside the square (x, y, size); the tallest in the
// accent colour.
void DrawBars(QPainter& p, int x, int y, int size, const QColor& bars, const QColor& accent, const QColor& base) {
    p.setRenderHint(QPainter::Antialiasing, false);
    const int margin = std::max(2, int(std::lround(size * 0.13)));
    const int inner = size - 2 * margin;
    const int gap = std::max(1, int(std::lround(size / 16.0)));
    const int bar = (inner - 3 * gap) / 4;
    const int left = x + margin + (inner - (4 * bar + 3 * gap)) / 2;
    const int bottom = y + size - margin;
    const int line = std::max(1, size / 24);
    const double heights[] = {0.45, 0.85, 0.62, 0.3};
    for (int k = 0; k < 4; ++k) {
        const int h = std::max(2, int(std::lround((inner - line) * heights[k])));
        p.fillRect(QRect(left + k * (bar + gap), bottom - line - h, bar, h), k == 1 ? accent : bars);
    }
    p.fillRect(QRect(x + margin - gap, bottom - line, inner + 2 * gap, line), base);
}

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

    DrawBars(p, 0, 0, size, QColor(0xF2, 0xFA, 0xF8), QColor(0xFF, 0xDD, 0x7A), QColor(0xFF, 0xFF, 0xFF));
    return img;
}

QImage DrawClassFileIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);

    // A page three quarters as wide as it is high, centred, its top right
    // corner folded down.
    const double h = size - 1;
    const double w = std::round(h * 0.78);
    const double x0 = std::round((size - w) / 2) + 0.5;
    const double y0 = 0.5;
    const double fold = std::max(3.0, std::round(w * 0.3));
    QPainterPath page;
    page.moveTo(x0, y0);
    page.lineTo(x0 + w - fold, y0);
    page.lineTo(x0 + w, y0 + fold);
    page.lineTo(x0 + w, y0 + h);
    page.lineTo(x0, y0 + h);
    page.closeSubpath();
    p.setPen(QPen(QColor(0x6B, 0x7B, 0x86), 1));
    p.setBrush(QColor(0xFB, 0xFC, 0xFC));
    p.drawPath(page);
    QPainterPath flap;
    flap.moveTo(x0 + w - fold, y0);
    flap.lineTo(x0 + w - fold, y0 + fold);
    flap.lineTo(x0 + w, y0 + fold);
    flap.closeSubpath();
    p.setBrush(QColor(0xD5, 0xDD, 0xE2));
    p.drawPath(flap);

    // The program's bars in its teal on the lower part of the page.
    const int chart = int(std::lround(w * 0.9));
    const int cx = int(std::lround(x0 + (w - chart) / 2));
    const int cy = size - chart - std::max(1, int(std::lround(size * 0.04)));
    DrawBars(p, cx, cy, chart, QColor(0x3F, 0xB5, 0xA5), QColor(0xE8, 0xA3, 0x17), QColor(0x1D, 0x7A, 0x6E));
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
        const std::pair<QString, QImage> icons[] = {
            {QStringLiteral("markwise_%1.png"), DrawIcon(size)},
            {QStringLiteral("class_file_%1.png"), DrawClassFileIcon(size)},
        };
        for (const auto& [name, image] : icons) {
            const QString file = dir.filePath(name.arg(size));
            if (!image.save(file)) {
                std::fprintf(stderr, "make_icon: cannot write %s\n", qPrintable(file));
                return 1;
            }
        }
    }
    return 0;
}
