#pragma once
// The two widgets a skinned frame puts on its form: the frame itself, under
// everything and as large as the window, and the client area above it that
// holds the form's controls.
#include <QWidget>

class TSkCustomForm;

class TSkFrameView final : public QWidget {
public:
    TSkFrameView(TSkCustomForm* frame, QWidget* form);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    TSkCustomForm* frame_;
};

class TSkClientArea final : public QWidget {
public:
    TSkClientArea(TSkCustomForm* frame, QWidget* form);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    TSkCustomForm* frame_;
};
