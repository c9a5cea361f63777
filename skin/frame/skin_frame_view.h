#pragma once
// The two widgets a skinned frame puts on its form: the frame itself, under
// everything and as large as the window, and the client area above it that
// holds the form's controls.
#include <QWidget>

class QMouseEvent;
class QPainter;

// What the two widgets hand their painting and their mouse to: the frame,
// which knows the tree they show.
class TSkFrameSurface {
public:
    virtual void PaintFrame(QPainter& p) = 0;
    virtual void PaintClientBackground(QPainter& p) = 0;
    virtual void FrameMousePress(QMouseEvent* e) = 0;
    virtual void FrameMouseDoubleClick(QMouseEvent* e) = 0;
    virtual void FrameMouseMove(QMouseEvent* e) = 0;
    virtual void FrameMouseRelease(QMouseEvent* e) = 0;
    // The pointer left the frame.
    virtual void TrackHover() = 0;

protected:
    ~TSkFrameSurface() = default;
};

class TSkFrameView final : public QWidget {
public:
    TSkFrameView(TSkFrameSurface* frame, QWidget* form);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    TSkFrameSurface* frame_;
};

class TSkClientArea final : public QWidget {
public:
    TSkClientArea(TSkFrameSurface* frame, QWidget* form);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    TSkFrameSurface* frame_;
};
