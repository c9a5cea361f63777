// Skin objects: layout, drawing, regions, hue, cloning, buttons, engine swaps.
#include "exceptions.h"
#include "skin_engine.h"
#include "skin_object.h"
#include "skin_source.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<TSkSkinSource> OurSkin() {
    QFile f(QStringLiteral(MARKWISE_SOURCE_DIR "/resources/zodiraze.cskn"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    auto s = std::make_unique<TSkSkinSource>();
    s->LoadFromBytes(f.readAll());
    return s;
}

QImage Canvas(int w, int h, QRgb fill = 0xFF000000) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

TSkSkinObject* Child(TSkSkinObject* parent, TSkAlign align, QRect r) {
    auto* c = new TSkSkinObject(parent);
    c->SetAlign(align);
    c->SetBoundsRect(r);
    return c;
}

// A list holding one bitmap with a distinct colour in each pixel.
struct OneBitmap {
    TskBitmapList list;
    TskBitmap* bmp;
    OneBitmap(int w, int h) {
        auto b = std::make_unique<TskBitmap>("b", w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) b->SetPixel(x, y, 0xFF000000u | std::uint32_t((y + 1) << 8 | (x + 1)));
        bmp = b.get();
        list.Add(std::move(b));
    }
};

struct FakeFrame : TSkFormActions, TSkSkinHost {
    QStringList calls;
    unsigned icons = kbiClose | kbiSystemMenu | kbiMinimize | kbiMaximize;
    void SkClose() override { calls << "close"; }
    void SkShowHelp() override { calls << "help"; }
    void SkMinimize() override { calls << "minimize"; }
    void SkMaximize() override { calls << "maximize"; }
    void SkRestore() override { calls << "restore"; }
    void SkRollUp() override { calls << "rollup"; }
    void SkMinimizeToTray() override { calls << "tray"; }
    void SkShowSystemMenu() override { calls << "sysmenu"; }
    void SkCustomAction(TSkSkinObject*) override { calls << "custom"; }
    unsigned SkBorderIcons() const override { return icons; }
    void SkinObjectChanged(TSkSkinObject* o) override { calls << "repaint " + o->Name(); }
    TSkFormActions* SkinFormOwner() override { return this; }
};

}  // namespace

TEST(SkinLayout, MostTopAndClientFillTheParent) {
    TSkSkinObject parent;
    auto* top = Child(&parent, TSkAlign::saMostTop, QRect(0, 0, 10, 20));
    auto* client = Child(&parent, TSkAlign::saClient, QRect(0, 0, 0, 0));
    auto* hidden = Child(&parent, TSkAlign::saMostTop, QRect(0, 0, 10, 7));
    hidden->SetVisible(false);
    parent.SetBounds(0, 0, 100, 50);
    EXPECT_EQ(top->BoundsRect(), QRect(0, 0, 100, 20));
    EXPECT_EQ(client->BoundsRect(), QRect(0, 20, 100, 30));
}

TEST(SkinLayout, RightAnchoredChildrenKeepTheirDistance) {
    TSkSkinObject parent;
    parent.SetBounds(0, 0, 300, 30);
    auto* a = Child(&parent, TSkAlign::saTopRight, QRect(260, 5, 20, 20));
    auto* b = Child(&parent, TSkAlign::saTopRight, QRect(243, 5, 10, 20));
    auto* fixed = Child(&parent, TSkAlign::saTopLeft, QRect(5, 5, 10, 20));
    parent.SetBounds(0, 0, 400, 30);
    EXPECT_EQ(a->Left(), 360);
    EXPECT_EQ(b->Left(), 343);
    EXPECT_EQ(fixed->Left(), 5);
    // Drawing lays out again but must not move anchored children twice.
    parent.Realign(false);
    EXPECT_EQ(a->Left(), 360);
}

TEST(SkinLayout, FormFrameFollowsTheWindowSize) {
    auto skin = OurSkin();
    std::unique_ptr<TSkSkinObject> form(CloneSkinObject(*skin->GetFormObject()));
    form->SetBounds(0, 0, 640, 480);
    TSkSkinObject* client = form->FindByKind(TSkKind::skClient);
    TSkSkinObject* close = form->FindByName("CloseButton");
    // The frame's insets are 16, 36, 16 and 21 at any size.
    EXPECT_EQ(client->BoundsRect(), QRect(16, 36, 608, 423));
    EXPECT_GT(close->Left(), 580);
    EXPECT_EQ(form->HitTest(QPoint(close->Left() + 2, close->Top() + 2)), close);
    EXPECT_EQ(form->HitTest(QPoint(200, 16))->Kind(), TSkKind::skTitle);
    EXPECT_EQ(form->HitTest(QPoint(3, 200))->Kind(), TSkKind::skLeft);
    EXPECT_EQ(form->HitTest(QPoint(320, 240))->Kind(), TSkKind::skClient);
    EXPECT_EQ(form->HitTest(QPoint(700, 10)), nullptr);
}

TEST(SkinDraw, AParentThatDoesNotDrawItselfNeverFills) {
    TSkSkinObject parent;
    parent.SetColor(clRed);
    parent.SetBounds(0, 0, 20, 20);
    auto* c = Child(&parent, TSkAlign::saNone, QRect(10, 10, 5, 5));
    c->SetColor(clBlue);
    QImage img = Canvas(20, 20);
    {
        QPainter p(&img);
        parent.Draw(p);
    }
    EXPECT_EQ(img.pixel(2, 2), 0xFF000000u);
    EXPECT_EQ(img.pixel(11, 11), 0xFF0000FFu);
    parent.SetDrawIfOwner(true);
    {
        QPainter p(&img);
        parent.Draw(p);
    }
    EXPECT_EQ(img.pixel(2, 2), 0xFFFF0000u);
}

TEST(SkinDraw, NineSliceWithOversizedMarginsStillDrawsCorners) {
    OneBitmap b(10, 10);
    TSkBitmapObject o;
    o.SetBitmaps(&b.list);
    o.Bitmap().name = "b";
    o.Bitmap().right = 10;
    o.Bitmap().bottom = 10;
    o.SetMarginLeft(6);
    o.SetMarginTop(6);
    o.SetMarginRight(6);
    o.SetMarginBottom(6);
    o.AfterLoad();
    o.SetBounds(0, 0, 20, 20);
    QImage img = Canvas(20, 20);
    {
        QPainter p(&img);
        o.Draw(p);
    }
    auto at = [&](int x, int y) { return std::uint32_t(img.pixel(x, y)); };
    EXPECT_EQ(at(0, 0), b.bmp->Pixel(0, 0));
    EXPECT_EQ(at(19, 0), b.bmp->Pixel(9, 0));
    EXPECT_EQ(at(0, 19), b.bmp->Pixel(0, 9));
    EXPECT_EQ(at(19, 19), b.bmp->Pixel(9, 9));
    EXPECT_EQ(at(14, 14), b.bmp->Pixel(4, 4));  // the bottom-right corner starts at bitmap column 4
}

TEST(SkinDraw, StretchTileAndCentre) {
    OneBitmap b(2, 2);
    TSkBitmapObject o;
    o.SetBitmaps(&b.list);
    o.Bitmap() = TskBitmapLink{"b", 0, 0, 2, 2};
    o.AfterLoad();
    o.SetBounds(0, 0, 4, 4);
    auto draw = [&](TskTileStyle t) {
        o.SetTileStyle(t);
        QImage img = Canvas(4, 4);
        QPainter p(&img);
        o.Draw(p);
        p.end();
        return img;
    };
    QImage img = draw(TskTileStyle::tsStretch);
    EXPECT_EQ(std::uint32_t(img.pixel(1, 1)), b.bmp->Pixel(0, 0));
    EXPECT_EQ(std::uint32_t(img.pixel(2, 3)), b.bmp->Pixel(1, 1));
    img = draw(TskTileStyle::tsTile);
    EXPECT_EQ(std::uint32_t(img.pixel(2, 1)), b.bmp->Pixel(0, 1));
    img = draw(TskTileStyle::tsCenter);
    EXPECT_EQ(img.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(std::uint32_t(img.pixel(1, 1)), b.bmp->Pixel(0, 0));
}

TEST(SkinDraw, AlphaBlendAndKeyColour) {
    TskBitmap src("s", 2, 1);
    src.SetPixel(0, 0, 0x800000C8);  // alpha 128, red 200
    src.SetPixel(1, 0, 0x00000000);
    src.TestPartialAlpha();
    QImage img = Canvas(2, 1, 0xFF000064);  // red 100
    {
        QPainter p(&img);
        DrawSkinBitmap(p, src, QRect(0, 0, 2, 1), QRect(0, 0, 2, 1));
    }
    EXPECT_EQ(qBlue(img.pixel(0, 0)), 150);
    EXPECT_EQ(qBlue(img.pixel(1, 0)), 100);  // alpha 0 leaves the destination

    TskBitmap keyed("k", 2, 1);
    keyed.SetPixel(0, 0, 0xFF7F007F);
    keyed.SetPixel(1, 0, 0xFF102030);
    keyed.AfterPixelsLoaded();
    QImage img2 = Canvas(2, 1, 0xFF0000FF);
    {
        QPainter p(&img2);
        DrawSkinBitmap(p, keyed, QRect(0, 0, 2, 1), QRect(0, 0, 2, 1));
    }
    EXPECT_EQ(img2.pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(img2.pixel(1, 0), 0xFF102030u);
    {
        QPainter p(&img2);
        DrawSkinBitmap(p, keyed, QRect(0, 0, 2, 1), QRect(0, 0, 2, 1), false);
    }
    EXPECT_EQ(img2.pixel(0, 0) & 0xFFFFFF, 0x7F007Fu);  // copied as it is when not transparent
}

TEST(SkinRegion, TransparentCornersCutTheWindow) {
    auto skin = OurSkin();
    std::unique_ptr<TSkSkinObject> form(CloneSkinObject(*skin->GetFormObject()));
    form->SetBounds(0, 0, 300, 200);
    const QRegion mask = form->Mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(299, 0)));
    EXPECT_TRUE(mask.contains(QPoint(150, 5)));
    EXPECT_TRUE(mask.contains(QPoint(150, 100)));
    EXPECT_TRUE(mask.contains(QPoint(4, 190)));
    EXPECT_FALSE(mask.contains(QPoint(0, 199)));
}

TEST(SkinHue, ShiftWrapsAndKeepsTransparency) {
    EXPECT_EQ(ShiftHueValue(250, 10), 5);
    EXPECT_EQ(ShiftHueValue(3, -10), 248);
    // From one large shift to another in one step, transparency and all.
    EXPECT_EQ(ShiftHueValue(0, -450), 60);
    EXPECT_EQ(ShiftPixelHue(0x00FF0000, -450), ShiftPixelHue(0x00FF0000, 60));
    EXPECT_EQ(ShiftPixelHue(0x80FF0000, 700) >> 24, 0x80u);
    TskBitmap b("b", 2, 1);
    b.SetPixel(0, 0, 0x80FF0000);  // half-transparent pure red
    b.SetPixel(1, 0, kSkinTransparent);
    b.ChangeHue(85);               // a third of the way round: green
    EXPECT_EQ(b.Pixel(0, 0) >> 24, 0x80u);
    EXPECT_GT((b.Pixel(0, 0) >> 8) & 0xFF, 0xF0u);
    EXPECT_EQ(b.Pixel(1, 0), kSkinTransparent);

    auto skin = OurSkin();
    const TColor before = skin->GetObjectByName("Form")->FindByName("Client")->Color();
    skin->SetDeltaHue(40);
    skin->SetDeltaHue(40);  // the same value again changes nothing
    skin->SetDeltaHue(0);
    const TColor back = skin->GetObjectByName("Form")->FindByName("Client")->Color();
    for (int shift : {0, 8, 16}) EXPECT_NEAR(int((before >> shift) & 0xFF), int((back >> shift) & 0xFF), 2);
    EXPECT_EQ(ShiftColorHue(clNone, 30), clNone);
}

TEST(SkinLookup, NamesAreCaseInsensitiveAndDepthFirst) {
    auto skin = OurSkin();
    EXPECT_EQ(skin->GetObjectByName("tabs"), skin->GetObjectByName("Tabs"));
    TSkSkinObject* tabs = skin->GetObjectByName("Tabs");
    ASSERT_NE(tabs->FindByName("tab"), nullptr);
    EXPECT_EQ(tabs->FindByName("tab")->Name(), "Tab");
    EXPECT_EQ(skin->GetObjectByKind(TSkKind::skMenuBar)->Name(), "MenuBar");
    EXPECT_EQ(skin->GetFormObject()->Name(), "Form");
    skin->SetLocked(true);
    EXPECT_EQ(skin->Object(0), nullptr);
    skin->SetLocked(false);
    EXPECT_EQ(skin->Object(skin->ObjectCount()), nullptr);
}

TEST(SkinClone, CopyHasTheSameDescriptionAndResolvedLinks) {
    auto skin = OurSkin();
    for (int k = 0; k < skin->ObjectCount(); ++k) {
        TSkSkinObject* o = skin->Object(k);
        std::unique_ptr<TSkSkinObject> copy(CloneSkinObject(*o));
        ASSERT_EQ(copy->ClassName(), o->ClassName());
        std::function<void(TSkSkinObject*, TSkSkinObject*)> same = [&](TSkSkinObject* a, TSkSkinObject* b) {
            EXPECT_EQ(a->ObjectsData(), b->ObjectsData()) << a->Name().toStdString();
            ASSERT_EQ(a->ChildCount(), b->ChildCount());
            std::vector<TskBitmap*> la, lb;
            a->ForEachLink([&](TskBitmapLink& l) { la.push_back(l.bitmap); });
            b->ForEachLink([&](TskBitmapLink& l) { lb.push_back(l.bitmap); });
            EXPECT_EQ(la, lb);
            for (int c = 0; c < a->ChildCount(); ++c) same(a->Child(c), b->Child(c));
        };
        same(o, copy.get());
    }
}

TEST(SystemButton, VisibilityFollowsWindowStateAndBorderIcons) {
    auto skin = OurSkin();
    std::unique_ptr<TSkSkinObject> form(CloneSkinObject(*skin->GetFormObject()));
    FakeFrame frame;
    form->SetHost(&frame);
    auto visible = [&](const char* name) { return form->FindByName(name)->Visible(); };
    form->SetState(skstate::Normal);
    EXPECT_TRUE(visible("MaximizeButton"));
    EXPECT_FALSE(visible("RestoreButton"));
    EXPECT_FALSE(visible("RollUpButton"));
    form->SetState(skstate::Maximized);
    EXPECT_FALSE(visible("MaximizeButton"));
    EXPECT_TRUE(visible("RestoreButton"));
    frame.icons |= kbiRollup;
    form->SetState(skstate::RolledUp);
    EXPECT_TRUE(visible("RollDownButton"));
    EXPECT_FALSE(visible("RollUpButton"));
    frame.icons &= ~unsigned(kbiMaximize);
    for (int state : {skstate::Normal, skstate::Maximized, skstate::RolledUp}) {
        form->SetState(state);
        EXPECT_FALSE(visible("MaximizeButton"));
        EXPECT_FALSE(visible("RestoreButton"));
    }
}

TEST(SystemButton, PressAndReleasePerformsTheAction) {
    auto skin = OurSkin();
    std::unique_ptr<TSkSkinObject> form(CloneSkinObject(*skin->GetFormObject()));
    FakeFrame frame;
    form->SetHost(&frame);
    auto* close = dynamic_cast<TSkSystemButton*>(form->FindByName("CloseButton"));
    ASSERT_NE(close, nullptr);
    close->MouseEnter();
    EXPECT_EQ(close->Look(), TSkButtonLook::Hot);
    close->MouseUp(TMouseButton::mbLeft, {});  // a release without a press does nothing
    EXPECT_FALSE(frame.calls.contains("close"));
    close->MouseDown(TMouseButton::mbLeft, {});
    EXPECT_EQ(close->Look(), TSkButtonLook::Pressed);
    close->MouseUp(TMouseButton::mbLeft, {});
    EXPECT_EQ(close->Look(), TSkButtonLook::Hot);
    EXPECT_TRUE(frame.calls.contains("close"));
    EXPECT_TRUE(frame.calls.contains("repaint CloseButton"));
    close->MouseLeave();
    EXPECT_EQ(close->Look(), TSkButtonLook::Normal);
    auto* sys = dynamic_cast<TSkSystemButton*>(form->FindByName("SysMenuButton"));
    frame.calls.clear();
    sys->DblClick(TMouseButton::mbLeft, {});
    EXPECT_EQ(frame.calls, QStringList{"close"});
}

namespace {
struct Recorder : QWidget, TSkSkinClient {
    QStringList log;
    TSkSkinEngine* engine = nullptr;
    void SkinChanging(TSkSkinEngine* e) override { log << QStringLiteral("changing locked=%1").arg(e->Source().Locked()); }
    void SkinChanged(TSkSkinEngine* e) override {
        log << QStringLiteral("changed %1").arg(e->Source().GetFormObject() ? "form" : "none");
    }
};
}

TEST(SkinEngineChange, SwapsAreBroadcastAndAFailedLoadKeepsTheSkin) {
    Recorder form;
    form.show();
    TSkSkinEngine engine(nullptr);
    QFile f(QStringLiteral(MARKWISE_SOURCE_DIR "/resources/zodiraze.cskn"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray skin = f.readAll();
    engine.SetSkinStream(QByteArray(1, '\2') + skin);
    EXPECT_EQ(form.log, QStringList{"changed form"});  // nothing to drop before the first skin

    form.log.clear();
    EXPECT_THROW(engine.SetSkinStream(QByteArray(1, '\2') + skin.left(skin.size() / 2)), EStreamError);
    EXPECT_EQ(form.log, (QStringList{"changing locked=1", "changed form"}));
    EXPECT_FALSE(engine.Source().Locked());
    EXPECT_EQ(engine.Source().SkinName(), "Zodiraze");

    form.log.clear();
    engine.SetDeltaHue(30);
    EXPECT_EQ(form.log, (QStringList{"changing locked=0", "changed form"}));
    EXPECT_EQ(engine.Source().AppliedHue(), 30);

    form.log.clear();
    engine.SetSkinFile(QStringLiteral("/no/such/dir/skin.cskn"));  // nothing to load: the skin stays
    EXPECT_EQ(engine.Source().SkinName(), "Zodiraze");
    EXPECT_EQ(form.log.last(), "changed form");
}

// Start-up decodes the window's skin before the window exists; the engine
// that is then given the very same stream while its window is read must end
// with the very skin a direct read gives, its hue applied. Any other stream,
// and a damaged one, is read (and reported) as before.
TEST(SkinEnginePredecode, TheSkinDecodedAheadIsTheSkinReadDirectly) {
    QFile f(QStringLiteral(MARKWISE_SOURCE_DIR "/resources/zodiraze.cskn"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray stream = QByteArray(1, '\2') + f.readAll();

    TSkSkinEngine direct(nullptr);
    direct.SetDeltaHue(40);
    direct.SetSkinStream(stream);

    auto readWhileLoading = [](TSkSkinEngine& engine, const QByteArray& bytes) {
        engine.BeginLoading();
        engine.SetDeltaHue(40);
        engine.SetSkinStream(bytes);
        engine.Loaded();
    };
    TSkSkinEngine::Predecode(stream);
    TSkSkinEngine ahead(nullptr);
    readWhileLoading(ahead, stream);
    EXPECT_EQ(ahead.Source().AppliedHue(), 40);
    EXPECT_EQ(ahead.SkinStream(), direct.SkinStream());

    // Taken once: the next engine decodes its own.
    TSkSkinEngine second(nullptr);
    readWhileLoading(second, stream);
    EXPECT_EQ(second.SkinStream(), direct.SkinStream());

    // A different stream never gets the skin decoded for another.
    TSkSkinEngine::Predecode(stream);
    TSkSkinEngine other(nullptr);
    other.BeginLoading();
    EXPECT_THROW(other.SetSkinStream(stream.left(stream.size() / 2)), EStreamError);
    EXPECT_TRUE(other.Source().Empty());

    // A damaged stream decoded ahead leaves nothing, and fails where it did.
    TSkSkinEngine::Predecode(stream.left(stream.size() / 3));
    TSkSkinEngine damaged(nullptr);
    damaged.BeginLoading();
    EXPECT_THROW(damaged.SetSkinStream(stream.left(stream.size() / 3)), EStreamError);
}

TEST(SkinDraw, SeparatorLineAndGreyTextWhenDisabled) {
    TSkSkinObject sep;
    sep.SetColor(clNone);
    sep.SetBounds(0, 0, 40, 10);
    TFontSpec red;
    red.color = clRed;
    sep.SetFont(red);
    sep.SetText("-");
    QImage img = Canvas(40, 10);
    {
        QPainter p(&img);
        sep.Draw(p);
    }
    EXPECT_EQ(img.pixel(3, 4), 0xFFFF0000u);
    EXPECT_EQ(img.pixel(36, 4), 0xFFFF0000u);
    EXPECT_EQ(img.pixel(2, 4), 0xFF000000u);
    EXPECT_EQ(img.pixel(37, 4), 0xFF000000u);
    EXPECT_EQ(img.pixel(10, 5), 0xFF000000u);

    TSkSkinObject label;
    label.SetColor(clWhite);
    label.SetBounds(0, 0, 40, 20);
    label.SetText("WWW");
    label.SetEnabled(false);
    QImage text = Canvas(40, 20);
    {
        QPainter p(&text);
        label.Draw(p);
    }
    bool grey = false, black = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) {
            grey |= text.pixel(x, y) == 0xFF808080u;
            black |= text.pixel(x, y) == 0xFF000000u;
        }
    EXPECT_TRUE(grey);
    EXPECT_FALSE(black);
}

TEST(SkinDraw, StateChoosesTheLinkAndFallsBackToTheNormalOne) {
    OneBitmap b(5, 1);
    TSkButtonObject button;
    button.SetBitmaps(&b.list);
    TskBitmapLink* links[] = {&button.Bitmap(), &button.BitmapHot(), &button.BitmapFocused(), &button.BitmapPressed(),
                              &button.BitmapDisabled()};
    for (int k = 0; k < 5; ++k) *links[k] = TskBitmapLink{"b", k, 0, k + 1, 1};
    button.BitmapDisabled().right = 4;  // empty: not usable
    button.AfterLoad();
    button.SetBounds(0, 0, 2, 2);
    auto drawn = [&](int state) {
        button.SetState(state);
        QImage img = Canvas(2, 2);
        QPainter p(&img);
        button.Draw(p);
        p.end();
        return std::uint32_t(img.pixel(1, 1));
    };
    EXPECT_EQ(drawn(skstate::Normal), b.bmp->Pixel(0, 0));
    EXPECT_EQ(drawn(skstate::Hot), b.bmp->Pixel(1, 0));
    EXPECT_EQ(drawn(skstate::Focused), b.bmp->Pixel(2, 0));
    EXPECT_EQ(drawn(skstate::Pressed), b.bmp->Pixel(3, 0));
    EXPECT_EQ(drawn(skstate::Disabled), b.bmp->Pixel(0, 0));

    TSkActiveBitmap item;
    item.SetBitmaps(&b.list);
    item.Bitmap() = TskBitmapLink{"b", 0, 0, 1, 1};
    item.ActiveBitmap() = TskBitmapLink{"b", 1, 0, 2, 1};
    item.AfterLoad();
    item.SetBounds(0, 0, 2, 2);
    auto itemDrawn = [&](int state, bool active) {
        item.SetState(state);
        item.SetActive(active);
        QImage img = Canvas(2, 2);
        QPainter p(&img);
        item.Draw(p);
        p.end();
        return std::uint32_t(img.pixel(0, 0));
    };
    EXPECT_EQ(itemDrawn(skstate::Normal, false), b.bmp->Pixel(0, 0));
    EXPECT_EQ(itemDrawn(skstate::Hot, false), b.bmp->Pixel(1, 0));
    EXPECT_EQ(itemDrawn(skstate::Pressed, false), b.bmp->Pixel(0, 0));
    EXPECT_EQ(itemDrawn(skstate::Normal, true), b.bmp->Pixel(1, 0));
}
