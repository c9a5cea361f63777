#pragma once
// PNG pictures of the program's own (menu images, the icon), read as PNG:
// left to guess the format, the toolkit loads every image plug-in to ask it,
// which costs more than the decoding.
#include <QByteArray>
#include <QImage>
#include <QString>

// Null when the data is not a PNG picture.
QImage DecodePng(const QByteArray& data);
QImage ReadPngFile(const QString& path);
