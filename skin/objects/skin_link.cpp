#include "skin_link.h"

#include <algorithm>

void TskBitmapLink::Resolve(const TskBitmapList* list, int ml, int mt, int mr, int mb) {
    bitmap = list && !name.isEmpty() ? list->Find(name) : nullptr;
    centerTransparent = bordersTransparent = cornersTransparent = false;
    if (!bitmap || !bitmap->HasTransparency()) return;
    const QRect r = Rect() & QRect(0, 0, bitmap->Width(), bitmap->Height());
    if (r.isEmpty()) return;
    const int x0 = r.left(), x1 = r.right() + 1;
    if (ml == 0 && mt == 0 && mr == 0 && mb == 0) {
        for (int y = r.top(); y <= r.bottom() && !centerTransparent; ++y) centerTransparent = bitmap->AnyTransparent(y, x0, x1);
        return;
    }
    // Columns within the left or right margin, and those between; a margin
    // of more than half the link makes every column an edge column.
    const int leftEnd = std::clamp<std::int64_t>(std::int64_t(left) + ml, x0, x1);
    const int rightStart = std::clamp<std::int64_t>(std::int64_t(right) - mr, x0, x1);
    const int midStart = leftEnd, midEnd = std::max(leftEnd, rightStart);
    auto edgeColumns = [&](int y) {
        return bitmap->AnyTransparent(y, x0, leftEnd) || bitmap->AnyTransparent(y, std::max(rightStart, x0), x1);
    };
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const std::int64_t ry = std::int64_t(y) - top;
        const bool edgeRow = ry < mt || ry >= std::int64_t(bottom - top) - mb;
        bool& edgeFlag = edgeRow ? cornersTransparent : bordersTransparent;
        bool& midFlag = edgeRow ? bordersTransparent : centerTransparent;
        if (!edgeFlag) edgeFlag = edgeColumns(y);
        if (!midFlag) midFlag = bitmap->AnyTransparent(y, midStart, midEnd);
        if (centerTransparent && bordersTransparent && cornersTransparent) return;
    }
}
