#pragma once
// The conclusion memo: word-wrapped free text typed through the desktop's
// input methods, with caret line/column and clipboard-state events, an
// optional Enter-moves-on mode and the framed controls' custom frame.
#include "control.h"
#include "custom_frame.h"

#include <QPlainTextEdit>

class QMimeData;

using TLineColChangeEvent = std::function<void(TComponent* Sender, int Line, int Column)>;
using TClipboardChangeEvent = std::function<void(TComponent* Sender, bool HasSelection, bool HasText)>;
using TMouseWheelUpDownEvent = std::function<void(TComponent* Sender, TShiftState Shift, QPoint MousePos, bool& Handled)>;
enum class TMemoScrollBars { ssNone, ssHorizontal, ssVertical, ssBoth };

class TFrMemo : public QPlainTextEdit, public TControl, public TFrameHost {
    Q_OBJECT
public:
    TFrMemo(TComponent* owner, QWidget* parent);
    ~TFrMemo() override;
    QString ClassName() const override { return QStringLiteral("TFrMemo"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    // The whole text, lines separated by CR LF.
    QString Text() const;
    void SetText(const QString& text);
    QStringList Lines() const;
    void SetLines(const QStringList& lines);

    // Caret position on the lines as shown (wrapped lines count), from 1.
    int Line() const;
    void SetLine(int line);
    int Column() const;
    void SetColumn(int column);
    int LineCount() const;

    bool TabOnEnter() const { return tabOnEnter_; }
    void SetTabOnEnter(bool v) { tabOnEnter_ = v; }
    TMemoScrollBars ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TMemoScrollBars s);
    bool WordWrap() const { return lineWrapMode() != QPlainTextEdit::NoWrap; }
    void SetWordWrap(bool v);

    TCustomFrame& Frame() { return frame_; }
    const TCustomFrame& Frame() const { return frame_; }

    void Loaded() override;

    TNotifyEvent OnChange;
    TLineColChangeEvent OnLineColChange;
    TClipboardChangeEvent OnClipboardChange;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TMouseWheelUpDownEvent OnMouseWheelDown;

    // TFrameHost
    void RepaintFrame() override;
    void FrameVisibilityChanged() override;
    bool HostFocused() const override;

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void ColorChanged() override;
    void FontChanged() override;

private:
    // The visual line holding a document position: its index from 0 and the
    // document position where it starts and its length.
    struct VisualLine { int index = 0, start = 0, length = 0; };
    VisualLine LineAt(int position) const;
    bool FindLine(int index, VisualLine& out) const;
    void ReportCaret();
    void ReportClipboard();

    bool tabOnEnter_ = false;
    bool announced_ = false;
    TMemoScrollBars scrollBars_ = TMemoScrollBars::ssNone;
    TCustomFrame frame_;
};
