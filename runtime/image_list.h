#pragma once
// A strip of equal-sized images (the menu bar's icons).
#include "component.h"

#include <QImage>
#include <QPixmap>
#include <vector>

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner);
    QString ClassName() const override { return QStringLiteral("TImageList"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int w);
    void SetHeight(int h);
    // The images as one horizontal strip in PNG form.
    QByteArray Bitmap() const { return bitmap_; }
    void SetBitmap(const QByteArray& png);   // raises EStreamError for data that is not an image
    int Count() const { return int(images_.size()); }
    QPixmap Image(int index) const;          // null for an index out of range

private:
    void Split();
    int width_ = 16, height_ = 16;
    QByteArray bitmap_;
    QImage strip_;  // bitmap_ decoded
    std::vector<QPixmap> images_;
};
