#include "skin_tree.h"

#include <QFontMetrics>
#include <algorithm>

void TSkSkinObject::SetBounds(int left, int top, int right, int bottom) {
    left = ClampCoord(left);
    top = ClampCoord(top);
    const int w = std::max(0, ClampCoord(std::int64_t(right) - left));
    const int h = std::max(0, ClampCoord(std::int64_t(bottom) - top));
    if (left == left_ && top == top_ && w == width_ && h == height_) return;
    prevWidth_ = width_;
    prevHeight_ = height_;
    left_ = left;
    top_ = top;
    width_ = w;
    height_ = h;
    Realign(true);
}

void TSkSkinObject::Realign(bool anchors) {
    const int n = ChildCount();
    if (n == 0) return;
    int rl = left_, rt = top_, rr = left_ + width_, rb = top_ + height_;
    auto visibleChildren = [&](auto&& f, bool reverse = false) {
        for (int k = 0; k < n; ++k) {
            TSkSkinObject* c = Child(reverse ? n - 1 - k : k);
            if (c->visible_) f(c);
        }
    };
    auto vertical = [&](TSkAlign top, TSkAlign bottom) {
        visibleChildren([&](TSkSkinObject* c) {
            if (c->align_ == top) {
                const int h = c->height_;
                c->SetBounds(rl, rt, rr, rt + h);
                rt += h;
            } else if (c->align_ == bottom) {
                const int h = c->height_;
                c->SetBounds(rl, rb - h, rr, rb);
                rb -= h;
            }
        });
    };
    auto horizontal = [&](TSkAlign left, TSkAlign right) {
        visibleChildren([&](TSkSkinObject* c) {
            if (c->align_ == left) {
                const int w = c->width_;
                c->SetBounds(rl, rt, rl + w, rb);
                rl += w;
            } else if (c->align_ == right) {
                const int w = c->width_;
                c->SetBounds(rr - w, rt, rr, rb);
                rr -= w;
            }
        });
    };
    vertical(TSkAlign::saMostTop, TSkAlign::saMostBottom);
    horizontal(TSkAlign::saMostLeft, TSkAlign::saMostRight);
    vertical(TSkAlign::saTop, TSkAlign::saBottom);
    horizontal(TSkAlign::saLeft, TSkAlign::saRight);
    visibleChildren([&](TSkSkinObject* c) {
        if (c->align_ != TSkAlign::saText) return;
        const QFontMetrics fm(c->GetFont().ToQFont());
        const int w = fm.horizontalAdvance(c->text_) + c->textMarginLeft_ + c->textMarginRight_;
        c->SetBounds(c->left_, c->top_, c->left_ + w, c->top_ + c->height_);
    }, true);
    visibleChildren([&](TSkSkinObject* c) {
        if (c->align_ != TSkAlign::saCenter) return;
        const int l = rl + (rr - rl - c->width_) / 2, t = rt + (rb - rt - c->height_) / 2;
        c->SetBounds(l, t, l + c->width_, t + c->height_);
    }, true);
    visibleChildren([&](TSkSkinObject* c) {
        if (c->align_ == TSkAlign::saClient) c->SetBounds(rl, rt, rr, rb);
    });
    if (!anchors) return;
    // Anchored children keep their distance to the right or bottom edge.
    for (int k = 0; k < n; ++k) {
        TSkSkinObject* c = Child(k);
        const bool right = c->align_ == TSkAlign::saTopRight || c->align_ == TSkAlign::saBottomRight;
        const bool bottom = c->align_ == TSkAlign::saBottomLeft || c->align_ == TSkAlign::saBottomRight;
        if (right && prevWidth_ >= 1) c->left_ = ClampCoord(std::int64_t(width_) - (prevWidth_ - c->left_));
        if (bottom && prevHeight_ >= 1) c->top_ = ClampCoord(std::int64_t(height_) - (prevHeight_ - c->top_));
    }
}

