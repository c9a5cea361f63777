#include "image_list.h"

#include "exceptions.h"
#include "png_image.h"

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

void TImageList::SetWidth(int w) { width_ = std::max(1, w); Split(); }
void TImageList::SetHeight(int h) { height_ = std::max(1, h); Split(); }

void TImageList::SetBitmap(const QByteArray& png) {
    const QImage strip = png.isEmpty() ? QImage() : DecodePng(png);
    if (!png.isEmpty() && strip.isNull()) throw EStreamError(QStringLiteral("Invalid image list bitmap"));
    bitmap_ = png;
    strip_ = strip;
    Split();
}

void TImageList::Split() {
    images_.clear();
    if (strip_.isNull()) return;
    for (int x = 0; x + width_ <= strip_.width(); x += width_)
        images_.push_back(QPixmap::fromImage(strip_.copy(x, 0, width_, std::min(height_, strip_.height()))));
}

QPixmap TImageList::Image(int index) const {
    if (index < 0 || index >= Count()) return {};
    return images_[size_t(index)];
}

const PropertyTable& TImageList::StaticProperties() {
    static PropertyTable table = [] {
        PropertyTable t(&TComponent::StaticProperties());
        PropertyBuilder<TImageList>(t)
            .Int("Width", [](const TImageList& l) { return l.Width(); }, [](TImageList& l, int v) { l.SetWidth(v); }, 16)
            .Int("Height", [](const TImageList& l) { return l.Height(); }, [](TImageList& l, int v) { l.SetHeight(v); }, 16)
            .Binary("Bitmap", [](const TImageList& l) { return l.Bitmap(); },
                    [](TImageList& l, const QByteArray& v) { l.SetBitmap(v); });
        return t;
    }();
    return table;
}
