#include "skin_frame_view.h"

#include "control.h"

#include <QMouseEvent>
#include <QPainter>

TSkFrameView::TSkFrameView(TSkFrameSurface* frame, QWidget* form) : QWidget(form), frame_(frame) {
    setObjectName(QStringLiteral("skinFrame"));
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

void TSkFrameView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    frame_->PaintFrame(p);
}

void TSkFrameView::mousePressEvent(QMouseEvent* e) { frame_->FrameMousePress(e); }
void TSkFrameView::mouseDoubleClickEvent(QMouseEvent* e) { frame_->FrameMouseDoubleClick(e); }
void TSkFrameView::mouseMoveEvent(QMouseEvent* e) { frame_->FrameMouseMove(e); }
void TSkFrameView::mouseReleaseEvent(QMouseEvent* e) { frame_->FrameMouseRelease(e); }
void TSkFrameView::leaveEvent(QEvent*) { frame_->TrackHover(); }

TSkClientArea::TSkClientArea(TSkFrameSurface* frame, QWidget* form) : QWidget(form), frame_(frame) {
    setObjectName(QStringLiteral("skinClient"));
    // Opaque, in the form's colour: a control repainting itself does not
    // make the frame below repaint too.
    setAutoFillBackground(true);
}

void TSkClientArea::paintEvent(QPaintEvent*) {
    QPainter p(this);
    frame_->PaintClientBackground(p);
}

// The controls aligned to the client's edges follow its size.
void TSkClientArea::resizeEvent(QResizeEvent*) { TControl::Realign(this); }
