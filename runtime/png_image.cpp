#include "png_image.h"

#include <QBuffer>
#include <QImageReader>

namespace {
QImage Read(QImageReader& reader) {
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}
}

QImage DecodePng(const QByteArray& data) {
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "PNG");
    return Read(reader);
}

QImage ReadPngFile(const QString& path) {
    QImageReader reader(path, "PNG");
    return Read(reader);
}
