#pragma once
// The string grid with its in-place editor. Score entry depends on exactly when
// its events fire, so the editing and navigation rules live here, once, and the
// framed and skinned grids change only how cells and frames are drawn.
#include "control.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <vector>

class TStringGrid;

// Text pasted into a cell (Shift+Insert, the editor's context menu, a middle
// click, a drop). A handler that takes the text itself sets Handled; else the
// text goes into the cell's editor as if typed.
using TPasteEvent = std::function<void(TComponent* Sender, int ACol, int ARow, const QString& Text, bool& Handled)>;

enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0, goFixedHorzLine = 1u << 1, goVertLine = 1u << 2, goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4, goDrawFocusSelected = 1u << 5, goRowSizing = 1u << 6, goColSizing = 1u << 7,
    goRowMoving = 1u << 8, goColMoving = 1u << 9, goEditing = 1u << 10, goTabs = 1u << 11,
    goRowSelect = 1u << 12, goAlwaysShowEditor = 1u << 13, goThumbTracking = 1u << 14,
};
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TBorderStyle { bsNone, bsSingle };

// The editor over the current cell. A text change by the user commits at once.
class TInplaceEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TInplaceEdit(TStringGrid* grid);
protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dropEvent(QDropEvent* e) override;
private:
    // True when the grid's paste handler took the text.
    bool OfferPaste(const QString& text);
    TStringGrid* grid_;
};

class TStringGrid : public QAbstractScrollArea, public TControl {
    Q_OBJECT
    friend class TInplaceEdit;
public:
    TStringGrid(TComponent* owner, QWidget* parent);
    ~TStringGrid() override;
    QString ClassName() const override { return QStringLiteral("TStringGrid"); }
    static const PropertyTable& StaticProperties();
    const PropertyTable& Properties() const override { return StaticProperties(); }

    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    void SetColCount(int v);
    void SetRowCount(int v);
    int FixedCols() const { return fixedCols_; }
    int FixedRows() const { return fixedRows_; }
    void SetFixedCols(int v);
    void SetFixedRows(int v);
    int DefaultColWidth() const { return defaultColWidth_; }
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultColWidth(int v);
    void SetDefaultRowHeight(int v);
    int ColWidth(int c) const;
    int RowHeight(int r) const;
    unsigned Options() const { return options_; }
    void SetOptions(unsigned o);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor c);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle b);
    int GridLineWidth() const { return 1; }

    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);

    int Col() const { return col_; }
    int Row() const { return row_; }
    void SetCol(int c);   // raises EGridError "Grid index out of range"
    void SetRow(int r);
    int TopRow() const { return topRow_; }
    void SetTopRow(int r);
    int VisibleRowCount() const;

    bool EditorMode() const { return editorMode_; }
    void SetEditorMode(bool on);
    // The editor while it shows; null otherwise.
    QLineEdit* InplaceEditor() const;

    // Cell rectangle in viewport coordinates (exclusive of the grid line).
    QRect CellRect(int col, int row) const;
    bool CellAt(const QPoint& viewportPos, int& col, int& row) const;
    bool IsFocusedCell(int col, int row) const;
    bool IsSelected(int col, int row) const;

    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyDown;
    TSetEditEvent OnSetEditText;
    TMouseEvent OnMouseDown;
    TPasteEvent OnPasteText;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

protected:
    // Drawing steps the framed and skinned grids replace.
    virtual void PaintCells(QPainter& p);
    virtual void DrawCell(QPainter& p, int col, int row, const QRect& rect);
    virtual QColor GridLineColor(bool fixed) const;
    virtual QColor CellFillColor(int col, int row) const;

    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent* e) override;
    void ColorChanged() override;

    // Grid key-press handling: raises OnKeyPress, then Enter toggles the editor.
    void GridKeyPress(QChar& key);
    // Grid key-down handling: raises OnKeyDown, then moves.
    void GridKeyDown(int qtKey, TShiftState shift);

private:
    // Raises OnPasteText for the cell; true when the handler took the text.
    bool FirePaste(int col, int row, const QString& text);
    // A paste on the current cell while its editor is closed: the handler's,
    // or else into the opened editor.
    void PasteIntoCurrent(const QString& text);
    void ShowEditorChar(QChar ch, QKeyEvent* original);
    void ShowEditor();
    void HideEditor();
    void LoadEditor();
    void CommitEditor();
    void EditorTextEdited(const QString& text);
    void MoveCurrent(int col, int row, bool extendSelection);
    void ScrollToCurrent();
    void UpdateScrollBars();
    bool GridFocused() const;
    QRect EditorRect() const;
    int RowY(int row) const;      // top of a row in the viewport, or -1 when scrolled away
    int ColX(int col) const;

    int colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24;
    unsigned options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;
    TScrollStyle scrollBars_ = TScrollStyle::ssBoth;
    TColor fixedColor_ = clBtnFace;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    QHash<qint64, QString> cells_;  // sparse: only written cells
    int col_ = 1, row_ = 1, anchorCol_ = 1, anchorRow_ = 1, topRow_ = 1;
    bool editorMode_ = false;
    TInplaceEdit* editor_ = nullptr;
    bool editorHasCell_ = false;
    int editorCol_ = 0, editorRow_ = 0;
    int committing_ = 0;
    bool reloadingEditor_ = false;
};

extern const EnumNames<TGridOption> kGridOptionNames;
extern const EnumNames<TScrollStyle> kScrollStyleNames;
