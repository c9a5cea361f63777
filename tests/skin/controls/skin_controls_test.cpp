// Skinned controls, read from the pixels they paint: faces, frames, tabs and
// cells by state, fallbacks, the plain look without an object, and the
// behaviour that stays the control's own (ActivePage, the radio group).
#include "skin_controls.h"
#include "skin_engine.h"
#include "skin_source.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TColor PixelAt(const QImage& img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }
QImage Shot(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }
bool Contains(const QImage& img, TColor c) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (PixelAt(img, x, y) == c) return true;
    return false;
}
void Hover(QWidget& w) {
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&w, &enter);
}
void Unhover(QWidget& w) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
}

// The states in the order of the cells below.
enum Look { kNormal, kHot, kFocused, kPressed, kDisabled, kLooks };

// A skin of solid 16 x 16 cells, one colour each, so that a pixel of a drawn
// part tells which link drew it.
class CellSkin {
public:
    static constexpr int kCells = 16;
    static TColor Cell(int k) { return RGBColor(30 + 13 * k, 200 - 11 * k, 60 + 9 * (k % 7)); }
    static TColor Ink(int look) { return RGBColor(look * 40, 0, 160 - look * 30); }

    CellSkin() {
        auto b = std::make_unique<TskBitmap>(QStringLiteral("cells"), 16 * kCells, 16);
        for (int k = 0; k < kCells; ++k) {
            const TColor c = Cell(k);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    b->SetPixel(16 * k + x, y, 0xFF000000u | std::uint32_t(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)));
        }
        b->AfterPixelsLoaded();
        engine.Source().Bitmaps().Add(std::move(b));
    }
    // A top-level object named name.
    TSkSkinObject* Top(const QString& name, TColor color = clNone) {
        auto o = std::make_unique<TSkSkinObject>();
        o->SetName(name);
        o->SetBounds(0, 0, 100, 100);
        o->SetColor(color);
        TSkSkinObject* raw = o.get();
        engine.Source().AddObject(std::move(o));
        return raw;
    }
    // A part whose normal, hot, focused, pressed and disabled links are the
    // cells first to first + 4.
    static TSkButtonObject* States(TSkSkinObject* parent, const QString& name, int first, QSize size = QSize(16, 16)) {
        auto* b = new TSkButtonObject(parent);
        b->SetName(name);
        b->SetBoundsRect(QRect(QPoint(0, 0), size));
        b->SetMarginLeft(2), b->SetMarginTop(2), b->SetMarginRight(2), b->SetMarginBottom(2);
        b->SetTileStyle(TskTileStyle::tsStretch);
        b->SetBorderTileStyle(TskTileStyle::tsStretch);
        TskBitmapLink* links[] = {&b->Bitmap(), &b->BitmapHot(), &b->BitmapFocused(), &b->BitmapPressed(), &b->BitmapDisabled()};
        for (int k = 0; k < kLooks; ++k) *links[k] = TskBitmapLink{QStringLiteral("cells"), 16 * (first + k), 0, 16 * (first + k) + 16, 16};
        return b;
    }
    // A "Text" part with a font colour per state.
    static TSkTextObject* Text(TSkSkinObject* parent) {
        auto* t = new TSkTextObject(parent);
        t->SetName(QStringLiteral("Text"));
        t->SetColor(clNone);
        TFontSpec* fonts[] = {nullptr, &t->fontHot_, &t->fontFocused_, &t->fontPressed_, &t->fontDisabled_};
        for (int look = 0; look < kLooks; ++look) {
            TFontSpec f;
            f.height = -18;
            f.style = fsBold;
            f.color = Ink(look);
            if (fonts[look]) *fonts[look] = f;
            else t->SetFont(f);
        }
        return t;
    }
    // Resolves the links, as loading a skin does.
    void Ready() {
        TSkSkinSource& source = engine.Source();
        for (int k = 0; k < source.ObjectCount(); ++k) {
            source.Object(k)->SetBitmaps(&source.Bitmaps());
            source.Object(k)->AfterLoad();
        }
    }

    TSkSkinEngine engine{nullptr};
};

class SkinnedControls : public ::testing::Test {
protected:
    void SetUp() override {
        host.resize(400, 300);
        host.show();
        QApplication::setActiveWindow(&host);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    }
    CellSkin skin;
    QWidget host;
};

QByteArray OurSkinFile() {
    QFile f(QStringLiteral(MARKWISE_SOURCE_DIR "/resources/zodiraze.cskn"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

}  // namespace

TEST_F(SkinnedControls, ButtonFaceAndCaptionFollowTheState) {
    TSkSkinObject* top = skin.Top(QStringLiteral("Button"));
    CellSkin::States(top, QStringLiteral("Face"), 0)->SetAlign(TSkAlign::saClient);
    CellSkin::Text(top);
    skin.Ready();
    TSkSkinButton b(nullptr, &host);
    b.setGeometry(40, 30, 105, 41);
    b.SetCaption(QStringLiteral("重置"));
    b.SetSkinEngine(&skin.engine);
    b.show();
    ASSERT_NE(b.Skin(), nullptr);
    EXPECT_TRUE(b.Transparent());  // a bitmap face with shaped edges

    auto face = [&](int look) {
        const QImage img = Shot(b);
        EXPECT_EQ(PixelAt(img, 3, 3), CellSkin::Cell(look)) << "state " << b.SkinState();
        EXPECT_TRUE(Contains(img, CellSkin::Ink(look))) << "caption in the Text part's font for state " << b.SkinState();
    };
    face(kNormal);
    Hover(b);
    EXPECT_EQ(b.SkinState(), skstate::Hot);
    face(kHot);
    b.setDown(true);
    EXPECT_EQ(b.SkinState(), skstate::Pressed);
    face(kPressed);
    b.setDown(false);
    Unhover(b);
    b.setFocus();
    EXPECT_EQ(b.SkinState(), skstate::Focused);
    face(kFocused);
    b.setEnabled(false);
    EXPECT_EQ(b.SkinState(), skstate::Disabled);
    face(kDisabled);
    EXPECT_FALSE(Contains(Shot(b), RGBColor(0x80, 0x80, 0x80)));  // the part's font, not the objects' grey

    // Drawn where the button is when its window paints, not at the window's corner.
    b.setEnabled(true);
    b.clearFocus();
    const QImage window = Shot(host);
    EXPECT_EQ(PixelAt(window, 43, 33), CellSkin::Cell(kNormal));
    EXPECT_EQ(PixelAt(window, 40 + 101, 30 + 37), CellSkin::Cell(kNormal));
    EXPECT_NE(PixelAt(window, 3, 3), CellSkin::Cell(kNormal));
}

TEST_F(SkinnedControls, ADefaultButtonLooksFocusedAndAMissingFaceFallsBackToTheObject) {
    skin.Top(QStringLiteral("Button"), CellSkin::Cell(9));
    skin.Ready();
    TSkSkinButton b(nullptr, &host);
    b.resize(80, 30);
    b.SetSkinEngine(&skin.engine);
    b.SetDefault(true);
    EXPECT_EQ(b.SkinState(), skstate::Focused);
    EXPECT_EQ(PixelAt(Shot(b), 40, 15), CellSkin::Cell(9));
    EXPECT_FALSE(b.Transparent());
}

TEST_F(SkinnedControls, ControlsWithoutTheirObjectPaintPlainly) {
    TSkSkinEngine ours(nullptr);
    ours.SetSkinStream(QByteArray(1, '\2') + OurSkinFile());
    ASSERT_EQ(ours.Source().GetObjectByName(QStringLiteral("Label")), nullptr);
    auto label = [&](TSkSkinEngine* engine) {
        auto* l = new TSkSkinLabel(nullptr, &host);
        l->setGeometry(20, 20, 80, 17);
        l->SetCaption(QStringLiteral("课程名称"));
        TFontSpec f = l->Font();
        f.color = clNavy;
        l->SetFont(f);
        if (engine) l->SetSkinEngine(engine);
        return std::unique_ptr<TSkSkinLabel>(l);
    };
    auto plain = label(nullptr);
    auto skinned = label(&ours);
    EXPECT_EQ(skinned->Skin(), nullptr);
    EXPECT_EQ(Shot(*skinned), Shot(*plain));

    // With a "Label" object it draws the object with its caption instead.
    skin.Top(QStringLiteral("Label"), CellSkin::Cell(3));
    skin.Ready();
    skinned->SetSkinEngine(&skin.engine);
    ASSERT_NE(skinned->Skin(), nullptr);
    EXPECT_EQ(PixelAt(Shot(*skinned), 1, 1), CellSkin::Cell(3));

    // Every other control names an object the engine may lack.
    TSkSkinButton button(nullptr, &host);
    button.SetSkinObject(QStringLiteral("NoSuchObject"));
    button.SetSkinEngine(&ours);
    EXPECT_EQ(button.Skin(), nullptr);
}

TEST_F(SkinnedControls, EditFrameByStateAroundARealEditor) {
    TSkSkinObject* top = skin.Top(QStringLiteral("Edit"));
    CellSkin::States(top, QStringLiteral("Frame"), 5)->SetMarginLeft(4);
    CellSkin::Text(top);
    skin.Ready();
    TSkSkinEdit e(nullptr, &host);
    e.setGeometry(20, 20, 150, 23);
    e.SetSkinEngine(&skin.engine);
    e.show();
    ASSERT_NE(e.Skin(), nullptr);
    auto frame = [&] { return PixelAt(Shot(e), 1, 11); };
    EXPECT_EQ(frame(), CellSkin::Cell(5 + kNormal));
    Hover(e);
    EXPECT_EQ(frame(), CellSkin::Cell(5 + kHot));
    Unhover(e);
    e.setFocus();
    EXPECT_EQ(frame(), CellSkin::Cell(5 + kFocused));

    // Typing goes into the editor, in the Text part's font colour, and the
    // input method's caret rectangle is where the caret is drawn.
    QTest::keyClicks(&e, "WWW");
    EXPECT_EQ(e.Text(), "WWW");
    EXPECT_TRUE(Contains(Shot(e), CellSkin::Ink(kNormal)));
    const QRect caret = e.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int textEnd = 4 + QFontMetrics(e.font()).horizontalAdvance("WWW");
    EXPECT_GE(caret.center().x(), textEnd);
    EXPECT_LE(caret.center().x(), textEnd + 3);
    EXPECT_TRUE(e.rect().contains(caret.center()));

    e.setEnabled(false);
    EXPECT_EQ(frame(), CellSkin::Cell(5 + kDisabled));
}

TEST_F(SkinnedControls, RadioButtonsOfOneParentAndGroupIndexCheckOneAtATime) {
    TSkSkinObject* top = skin.Top(QStringLiteral("RadioButton"));
    CellSkin::States(top, QStringLiteral("Checked"), 10, QSize(13, 13));
    CellSkin::States(top, QStringLiteral("Unchecked"), 0, QSize(13, 13));
    CellSkin::Text(top);
    skin.Ready();
    QWidget page(&host), otherPage(&host);
    std::vector<std::unique_ptr<TSkSkinRadioButton>> group;
    QStringList clicked;
    for (int k = 0; k < 4; ++k) {
        auto b = std::make_unique<TSkSkinRadioButton>(nullptr, &page);
        b->SetName(QStringLiteral("r%1").arg(k));
        b->SetTabOrder(3 - k);  // the keys follow the tab order, not creation
        b->setGeometry(0, 20 * k, 100, 17);
        b->SetSkinEngine(&skin.engine);
        b->OnClick = [&clicked](TComponent* s) { clicked << s->Name(); };
        group.push_back(std::move(b));
    }
    TSkSkinRadioButton otherIndex(nullptr, &page), otherParent(nullptr, &otherPage);
    otherIndex.SetGroupIndex(1);
    otherIndex.SetChecked(true);
    otherParent.SetChecked(true);

    group[0]->SetChecked(true);
    group[2]->click();
    EXPECT_FALSE(group[0]->Checked());
    EXPECT_TRUE(group[2]->Checked());
    EXPECT_TRUE(otherIndex.Checked());
    EXPECT_TRUE(otherParent.Checked());
    EXPECT_EQ(clicked, QStringList({"r0", "r2"}));
    for (int k = 0; k < 4; ++k) EXPECT_EQ(group[k]->TabStop(), k == 2) << k;

    group[2]->click();  // checking the checked one changes nothing
    EXPECT_TRUE(group[2]->Checked());
    EXPECT_EQ(clicked.size(), 2);

    // Down moves to the next button in tab order, which is r1, and checks it.
    group[2]->setFocus();
    QTest::keyClick(group[2].get(), Qt::Key_Down);
    EXPECT_TRUE(group[1]->Checked());
    EXPECT_TRUE(group[1]->hasFocus());
    EXPECT_FALSE(group[2]->Checked());

    // The glyph of its check state at the left, the caption beside it.
    const QImage checked = Shot(*group[1]), unchecked = Shot(*group[3]);
    EXPECT_EQ(PixelAt(checked, 6, 8), CellSkin::Cell(10 + kFocused));
    EXPECT_EQ(PixelAt(unchecked, 6, 8), CellSkin::Cell(kNormal));
}

TEST_F(SkinnedControls, PageControlTabsByPositionAndActivePage) {
    TSkSkinObject* top = skin.Top(QStringLiteral("Tabs"));
    CellSkin::States(top, QStringLiteral("Frame"), 0);
    CellSkin::States(top, QStringLiteral("Tab"), 5, QSize(40, 24));
    CellSkin::States(top, QStringLiteral("TabBottom"), 10, QSize(40, 24));
    CellSkin::Text(top);
    skin.Ready();
    TSkSkinPageControl pc(nullptr, &host);
    pc.setGeometry(10, 10, 300, 200);
    std::vector<TSkCustomTabSheet*> sheets;
    for (const char* caption : {"一", "二", "三"}) {
        auto* s = new TSkCustomTabSheet(nullptr, &pc);
        s->SetCaption(QString::fromUtf8(caption));
        pc.AdoptChild(s);
        sheets.push_back(s);
    }
    pc.SetSkinEngine(&skin.engine);
    pc.show();
    ASSERT_NE(pc.Skin(), nullptr);
    int changes = 0;
    pc.OnChange = [&](TComponent*) { ++changes; };

    // No "TabTop": the top tabs fall back to "Tab"; the active one is focused.
    QImage img = Shot(pc);
    EXPECT_EQ(PixelAt(img, pc.TabRect(0).left() + 1, pc.TabRect(0).top() + 1), CellSkin::Cell(5 + kFocused));
    EXPECT_EQ(PixelAt(img, pc.TabRect(1).left() + 1, pc.TabRect(1).top() + 1), CellSkin::Cell(5 + kNormal));
    EXPECT_EQ(pc.StripDepth(), 24);
    // The pages sit inside the Frame's margins.
    EXPECT_EQ(QRect(sheets[0]->mapTo(&pc, QPoint(0, 0)), sheets[0]->size()), pc.PageRect().adjusted(2, 2, -2, -2));
    pc.SetTabPosition(TSkTabPosition::tpBottom);
    img = Shot(pc);
    EXPECT_EQ(PixelAt(img, pc.TabRect(1).left() + 1, pc.TabRect(1).bottom() - 1), CellSkin::Cell(10 + kNormal));
    EXPECT_GT(pc.TabRect(1).top(), pc.PageRect().bottom());

    // The active page again: shown, nothing hidden, nothing re-indexed.
    pc.SetActivePage(sheets[0]);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(pc.ActivePageIndex(), 0);
    EXPECT_TRUE(sheets[0]->isVisible());
    EXPECT_FALSE(sheets[1]->isVisible());
    for (int k = 0; k < 3; ++k) EXPECT_EQ(sheets[k]->PageIndex(), k);

    pc.SetActivePage(sheets[2]);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pc.ActivePage(), sheets[2]);
    EXPECT_FALSE(sheets[0]->isVisible());
    EXPECT_EQ(pc.Pages(3), nullptr);
    EXPECT_EQ(pc.Pages(-1), nullptr);
}

TEST_F(SkinnedControls, GridFrameFixedAndFocusedCells) {
    TSkSkinObject* top = skin.Top(QStringLiteral("Grid"));
    CellSkin::States(top, QStringLiteral("Frame"), 0);
    auto* fixed = new TSkSkinObject(top);
    fixed->SetName(QStringLiteral("Fixed"));
    fixed->SetColor(CellSkin::Cell(15));
    CellSkin::States(top, QStringLiteral("Cell"), 10);
    skin.Ready();
    TSkSkinStringGrid g(nullptr, &host);
    g.setGeometry(10, 10, 200, 100);
    g.SetColCount(3);
    g.SetRowCount(3);
    g.SetScrollBars(TScrollStyle::ssNone);
    g.SetDefaultDrawing(false);
    g.SetSkinEngine(&skin.engine);
    g.show();
    auto cell = [&](int c, int r) {
        const QRect at = g.CellRect(c, r).translated(g.viewport()->pos());
        return PixelAt(Shot(g), at.left() + 1, at.top() + 1);
    };
    EXPECT_EQ(PixelAt(Shot(g), 0, 50), CellSkin::Cell(kNormal));  // the frame around the cells
    EXPECT_EQ(g.viewport()->pos(), QPoint(2, 2));
    EXPECT_EQ(cell(0, 1), CellSkin::Cell(15));
    EXPECT_EQ(cell(1, 1), CellSkin::Cell(10 + kHot));  // selected, the grid unfocused
    EXPECT_EQ(cell(2, 2), CellSkin::Cell(10 + kNormal));
    g.setFocus();
    EXPECT_EQ(cell(1, 1), CellSkin::Cell(10 + kFocused));
    g.setEnabled(false);
    EXPECT_EQ(cell(2, 2), CellSkin::Cell(10 + kDisabled));
    EXPECT_EQ(PixelAt(Shot(g), 0, 50), CellSkin::Cell(kDisabled));
}

TEST_F(SkinnedControls, PanelShowsItsButtonOnlyWhenAskedAndACopyGoesWithItsSkin) {
    TSkSkinObject* top = skin.Top(QStringLiteral("Panel"));
    CellSkin::States(top, QStringLiteral("Frame"), 0);
    TSkButtonObject* rollup = CellSkin::States(top, QStringLiteral("ButtonRollup"), 5, QSize(14, 14));
    rollup->SetBoundsRect(QRect(80, 4, 14, 14));
    rollup->SetAlign(TSkAlign::saTopRight);
    skin.Ready();
    TSkSkinPanel panel(nullptr, &host);
    panel.setGeometry(10, 10, 200, 100);
    panel.SetShowCaption(false);
    panel.SetShowButton(false);
    panel.SetSkinEngine(&skin.engine);
    panel.show();
    EXPECT_EQ(PixelAt(Shot(panel), 185, 10), CellSkin::Cell(kNormal));
    EXPECT_TRUE(panel.ButtonRect().isEmpty());

    panel.SetShowButton(true);
    EXPECT_EQ(panel.ButtonRect(), QRect(180, 4, 14, 14));  // as far from the right edge as in the skin
    EXPECT_EQ(PixelAt(Shot(panel), 185, 10), CellSkin::Cell(5 + kNormal));
    int clicks = 0;
    panel.OnButtonClick = [&](TComponent*) { ++clicks; };
    QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(185, 10));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(PixelAt(Shot(panel), 185, 10), CellSkin::Cell(5 + kHot));
    Unhover(panel);

    // The engine's skin goes: the copy goes and the panel draws plainly; then
    // it comes back.
    skin.engine.BroadcastSkinChanging();
    EXPECT_EQ(panel.Skin(), nullptr);
    EXPECT_NE(PixelAt(Shot(panel), 185, 10), CellSkin::Cell(5 + kNormal));
    skin.engine.BroadcastSkinChanged();
    ASSERT_NE(panel.Skin(), nullptr);
    EXPECT_EQ(PixelAt(Shot(panel), 185, 10), CellSkin::Cell(5 + kNormal));
}

// Our skin draws a focused radio glyph as it draws one under the mouse: the
// caption carries the focus, in a dotted ring that goes when the focus goes.
TEST_F(SkinnedControls, AFocusedRadioButtonShowsItsFocusRoundTheCaption) {
    TSkSkinEngine ours(nullptr);
    ours.SetSkinStream(QByteArray(1, '\2') + OurSkinFile());
    const TSkSkinObject* glyph = ours.Source().GetObjectByName(QStringLiteral("RadioButton"))->FindByName(QStringLiteral("Checked"));
    ASSERT_NE(glyph, nullptr);
    TSkSkinRadioButton a(nullptr, &host), b(nullptr, &host);
    for (TSkSkinRadioButton* r : {&a, &b}) {
        r->setText(QStringLiteral("闭卷"));
        r->SetSkinEngine(&ours);
        r->show();
    }
    a.setGeometry(10, 10, 113, 17);
    b.setGeometry(10, 40, 113, 17);
    a.SetChecked(true);
    // What changes right of the glyph when the button takes the focus.
    auto caption = [&](const QImage& now, const QImage& before) {
        QRect changed;
        for (int y = 0; y < now.height(); ++y)
            for (int x = glyph->Width(); x < now.width(); ++x)
                if (now.pixel(x, y) != before.pixel(x, y)) changed |= QRect(x, y, 1, 1);
        return changed;
    };
    b.setFocus();
    const QImage unfocused = Shot(a);
    a.setFocus();
    ASSERT_TRUE(a.hasFocus());
    const QImage focused = Shot(a);
    ASSERT_EQ(focused.size(), unfocused.size());
    const QRect ring = caption(focused, unfocused);
    ASSERT_FALSE(ring.isEmpty()) << "the focus cannot be seen on the caption";
    // Round the whole caption: above and below its letters, both sides of them.
    EXPECT_GE(ring.height(), 12);
    EXPECT_GE(ring.width(), QFontMetrics(a.font()).horizontalAdvance(a.text()) / 2);
    EXPECT_GT(ring.left(), glyph->Width());
    b.setFocus();
    EXPECT_TRUE(caption(Shot(a), unfocused).isEmpty());
}
