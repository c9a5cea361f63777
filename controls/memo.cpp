#include "memo.h"

#include "application.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace {
const EnumNames<TMemoScrollBars> kMemoScrollBarNames{{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
}

TFrMemo::TFrMemo(TComponent* owner, QWidget* parent) : QPlainTextEdit(parent), TControl(owner, this), frame_(*this, *this) {
    SetColor(clWindow);
    // Chinese is typed through the input method; the memo takes its text.
    setAttribute(Qt::WA_InputMethodEnabled, true);
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setLineWidth(2);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
    SetScrollBars(TMemoScrollBars::ssNone);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        Fire(OnChange, static_cast<TComponent*>(this));
        ReportCaret();
    });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] { ReportClipboard(); });
    resize(185, 89);
}

TFrMemo::~TFrMemo() { frame_.SetController(nullptr); }

QString TFrMemo::Text() const { return toPlainText().replace('\n', QStringLiteral("\r\n")); }

void TFrMemo::SetText(const QString& text) {
    setPlainText(QString(text).replace(QRegularExpression(QStringLiteral("\r\n|\r")), QStringLiteral("\n")));
}

QStringList TFrMemo::Lines() const { return toPlainText().split('\n'); }

void TFrMemo::SetLines(const QStringList& lines) { setPlainText(lines.join('\n')); }

void TFrMemo::SetScrollBars(TMemoScrollBars s) {
    scrollBars_ = s;
    const bool v = s == TMemoScrollBars::ssVertical || s == TMemoScrollBars::ssBoth;
    const bool h = s == TMemoScrollBars::ssHorizontal || s == TMemoScrollBars::ssBoth;
    setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TFrMemo::SetWordWrap(bool v) { setLineWrapMode(v ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap); }

// ---- caret position -----------------------------------------------------------------------

TFrMemo::VisualLine TFrMemo::LineAt(int position) const {
    VisualLine out;
    int index = 0;
    for (QTextBlock b = document()->firstBlock(); b.isValid(); b = b.next()) {
        // Asking for the block's rectangle lays it out, so its lines are known.
        document()->documentLayout()->blockBoundingRect(b);
        const QTextLayout* layout = b.layout();
        const int lines = layout ? std::max(1, layout->lineCount()) : 1;
        const bool inside = position >= b.position() && position < b.position() + b.length();
        if (inside || !b.next().isValid()) {
            const int offset = std::clamp(position - b.position(), 0, std::max(0, b.length() - 1));
            QTextLine line = layout && layout->lineCount() > 0 ? layout->lineForTextPosition(offset) : QTextLine();
            if (!line.isValid() && layout && layout->lineCount() > 0) line = layout->lineAt(layout->lineCount() - 1);
            out.index = index + (line.isValid() ? line.lineNumber() : 0);
            out.start = b.position() + (line.isValid() ? line.textStart() : 0);
            out.length = line.isValid() ? line.textLength() : b.length() - 1;
            // A wrapped line's length includes the space it broke at; the
            // paragraph's end is not part of its last line.
            if (line.isValid() && out.start + out.length > b.position() + b.length() - 1)
                out.length = b.position() + b.length() - 1 - out.start;
            return out;
        }
        index += lines;
    }
    return out;
}

bool TFrMemo::FindLine(int wanted, VisualLine& out) const {
    int index = 0;
    for (QTextBlock b = document()->firstBlock(); b.isValid(); b = b.next()) {
        document()->documentLayout()->blockBoundingRect(b);
        const QTextLayout* layout = b.layout();
        const int lines = layout ? std::max(1, layout->lineCount()) : 1;
        if (wanted < index + lines) {
            out = LineAt(b.position() + (layout && layout->lineCount() > 0 ? layout->lineAt(wanted - index).textStart() : 0));
            return true;
        }
        index += lines;
    }
    return false;
}

int TFrMemo::LineCount() const {
    int count = 0;
    for (QTextBlock b = document()->firstBlock(); b.isValid(); b = b.next()) {
        document()->documentLayout()->blockBoundingRect(b);
        count += b.layout() ? std::max(1, b.layout()->lineCount()) : 1;
    }
    return count;
}

int TFrMemo::Line() const { return LineAt(textCursor().position()).index + 1; }

int TFrMemo::Column() const {
    const int pos = textCursor().position();
    return pos - LineAt(pos).start + 1;
}

void TFrMemo::SetColumn(int column) {
    const VisualLine line = LineAt(textCursor().position());
    if (column < 1 || column > line.length + 1) return;
    QTextCursor c = textCursor();
    c.setPosition(line.start + column - 1);
    setTextCursor(c);
    ReportCaret();
}

void TFrMemo::SetLine(int lineNo) {
    VisualLine line;
    if (lineNo < 1 || !FindLine(lineNo - 1, line)) return;
    QTextCursor c = textCursor();
    c.setPosition(line.start);
    setTextCursor(c);
    verticalScrollBar()->setValue(line.index);
    ReportCaret();
}

void TFrMemo::ReportCaret() {
    if (OnLineColChange) Fire(OnLineColChange, static_cast<TComponent*>(this), Line(), Column());
    ReportClipboard();
}

void TFrMemo::ReportClipboard() {
    if (!OnClipboardChange) return;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const bool hasText = data && data->hasText();
    Fire(OnClipboardChange, static_cast<TComponent*>(this), textCursor().hasSelection(), hasText);
}

// ---- input ----------------------------------------------------------------------------------

void TFrMemo::keyPressEvent(QKeyEvent* e) {
    if (tabOnEnter_ && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
        !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // Enter behaves as Tab: on to the next control, no line break.
        focusNextPrevChild(true);
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
    ReportCaret();
}

void TFrMemo::keyReleaseEvent(QKeyEvent* e) {
    QPlainTextEdit::keyReleaseEvent(e);
    ReportCaret();
}

void TFrMemo::mousePressEvent(QMouseEvent* e) {
    QPlainTextEdit::mousePressEvent(e);
    ReportCaret();
}

void TFrMemo::mouseReleaseEvent(QMouseEvent* e) {
    QPlainTextEdit::mouseReleaseEvent(e);
    ReportClipboard();
}

void TFrMemo::wheelEvent(QWheelEvent* e) {
    const auto& handler = e->angleDelta().y() > 0 ? OnMouseWheelUp : OnMouseWheelDown;
    if (handler && e->angleDelta().y() != 0) {
        bool handled = false;
        Fire(handler, static_cast<TComponent*>(this), ShiftStateOf(e), e->position().toPoint(), handled);
        if (handled) {
            e->accept();
            return;
        }
    }
    QPlainTextEdit::wheelEvent(e);
}

void TFrMemo::showEvent(QShowEvent* e) {
    QPlainTextEdit::showEvent(e);
    if (!announced_) {
        announced_ = true;
        ReportClipboard();
    }
}

// ---- frame and colours ------------------------------------------------------------------

bool TFrMemo::HostFocused() const { return TCustomFrame::FocusWithin(this); }

void TFrMemo::RepaintFrame() {
    viewport()->update();
    repaint();
}

void TFrMemo::FrameVisibilityChanged() {
    if (Frame().Settings().frameVisible) {
        setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        setLineWidth(2);
    }
}

bool TFrMemo::event(QEvent* e) {
    const bool handled = QPlainTextEdit::event(e);
    frame_.Observe(e);
    if (e->type() == QEvent::Paint && frame_.InUse()) {
        Canvas c(this);
        frame_.Paint(c, width(), height(), Color(), TFrameColoring::FromControlColor);
    }
    return handled;
}

void TFrMemo::ColorChanged() {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(Color()));
    setPalette(pal);
    frame_.ColorChanged();
}

void TFrMemo::FontChanged() {
    QPalette pal = palette();
    pal.setColor(QPalette::Text, ToQColor(Font().color));
    setPalette(pal);
}

void TFrMemo::Loaded() {
    TControl::Loaded();
    frame_.Loaded();
}

const PropertyTable& TFrMemo::StaticProperties() {
    static PropertyTable table = [] {
        using M = TFrMemo;
        PropertyTable t(&TControl::StaticProperties());
        PropertyBuilder<M> b(t);
        b.Color("Color", [](const M& m) { return m.Color(); }, [](M& m, TColor v) { m.SetColor(v); }, clWindow);
        AddCustomFrameProperties(b);
        AddLegacyFrameProperties(b);
        b.Bool("TabOnEnter", [](const M& m) { return m.TabOnEnter(); }, [](M& m, bool v) { m.SetTabOnEnter(v); }, false)
            .Strings("Lines.Strings", [](const M& m) { return m.Lines(); }, [](M& m, const QStringList& l) { m.SetLines(l); })
            .Enum<TMemoScrollBars>("ScrollBars", kMemoScrollBarNames, [](const M& m) { return m.ScrollBars(); },
                                   [](M& m, TMemoScrollBars s) { m.SetScrollBars(s); }, TMemoScrollBars::ssNone)
            .Bool("WordWrap", [](const M& m) { return m.WordWrap(); }, [](M& m, bool v) { m.SetWordWrap(v); }, true)
            .Event<TNotifyEvent>("OnChange", [](M& m, const TNotifyEvent& h) { m.OnChange = h; })
            .Event<TLineColChangeEvent>("OnLineColChange", [](M& m, const TLineColChangeEvent& h) { m.OnLineColChange = h; })
            .Event<TClipboardChangeEvent>("OnClipboardChange",
                                          [](M& m, const TClipboardChangeEvent& h) { m.OnClipboardChange = h; })
            .Event<TMouseWheelUpDownEvent>("OnMouseWheelUp", [](M& m, const TMouseWheelUpDownEvent& h) { m.OnMouseWheelUp = h; })
            .Event<TMouseWheelUpDownEvent>("OnMouseWheelDown",
                                           [](M& m, const TMouseWheelUpDownEvent& h) { m.OnMouseWheelDown = h; });
        return t;
    }();
    return table;
}
