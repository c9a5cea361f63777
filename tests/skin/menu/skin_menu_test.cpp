// The skinned menu bar, its items and popups, driven by mouse and key events.
#include "colors.h"
#include "component_stream.h"
#include "image_list.h"
#include "skin_engine.h"
#include "skin_item_paint.h"
#include "skin_menu.h"
#include "skin_object.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

QByteArray OurSkin() {
    QFile f(QStringLiteral(MARKWISE_SOURCE_DIR "/resources/zodiraze.cskn"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

QByteArray TwoImages() {
    QImage strip(32, 16, QImage::Format_ARGB32);
    strip.fill(Qt::darkGreen);
    QByteArray png;
    QBuffer b(&png);
    b.open(QIODevice::WriteOnly);
    strip.save(&b, "PNG");
    return png;
}

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// A window like the program's: a bar over a line edit that has the focus.
class Menu : public ::testing::Test {
protected:
    void SetUp() override {
        engine.Source().LoadFromBytes(OurSkin());
        images.SetBitmap(TwoImages());
        window = std::make_unique<QWidget>();
        window->resize(400, 200);
        bar = new TSkSkinMenuBar(nullptr, window.get());
        bar->setGeometry(0, 0, 400, 19);
        bar->SetImages(&images);
        make = Item("文档制作", &makeClicks);
        make->SetEnabled(false);
        make->SetImageIndex(0);
        preview = Item("文档预览", &previewClicks);
        help = Item("帮助(&H)", &helpClicks);
        print = Item("文档打印", &printClicks);
        print->SetVisible(false);
        bar->SetSkinEngine(&engine);
        edit = new QLineEdit(window.get());
        edit->setGeometry(10, 60, 200, 24);
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        edit->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override { TSkMenuMode::Instance().End(); }

    TSkCustomItem* Item(const QString& caption, int* clicks) {
        return bar->Items()->AddItem(caption, [clicks](TComponent*) { ++*clicks; });
    }
    // Keys as the window system delivers them, to the focused control.
    void Key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(window->windowHandle(), k, m); }
    QPoint At(const TSkCustomItem* item) const { return bar->ItemRect(item).center(); }
    TSkPopupWindow* Popup(int k) const {
        auto& views = TSkMenuMode::Instance().Views();
        return std::size_t(k) < views.size() ? dynamic_cast<TSkPopupWindow*>(views[std::size_t(k)]) : nullptr;
    }
    void GiveHelpSubItems() {
        first = help->AddItem("使用说明", [this](TComponent*) { ++firstClicks; });
        separator = help->AddItem("-", [this](TComponent*) { ++separatorClicks; });
        last = help->AddItem("关于", [this](TComponent*) {
            ++lastClicks;
            popupShownDuringClick = QApplication::activePopupWidget() != nullptr;
        });
    }
    QImage Grab() const { return bar->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QRgb SkinPixel(const char* bitmap, int x, int y) const { return engine.Source().Bitmaps().Find(bitmap)->Pixel(x, y); }

    TSkSkinEngine engine{nullptr};
    TImageList images{nullptr};
    std::unique_ptr<QWidget> window;
    TSkSkinMenuBar* bar = nullptr;
    QLineEdit* edit = nullptr;
    TSkCustomItem *make = nullptr, *preview = nullptr, *help = nullptr, *print = nullptr;
    TSkCustomItem *first = nullptr, *separator = nullptr, *last = nullptr;
    int makeClicks = 0, previewClicks = 0, helpClicks = 0, printClicks = 0;
    int firstClicks = 0, separatorClicks = 0, lastClicks = 0;
    bool popupShownDuringClick = true;
    TSkMenuMode& mode = TSkMenuMode::Instance();
};

}  // namespace

TEST_F(Menu, ItemsAreMeasuredFromTheSkinInsideTheFramesMargins) {
    TSkSkinObject* frame = bar->Skin()->FindByName("Frame");
    TSkSkinObject* item = engine.Source().GetObjectByName("MenuBar")->FindByName("Item");
    const QFontMetrics fm(item->Font().ToQFont());
    EXPECT_EQ(bar->NeededHeight(), item->Height() + frame->MarginTop() + frame->MarginBottom());
    const QRect m = bar->ItemRect(make), p = bar->ItemRect(preview), h = bar->ItemRect(help);
    EXPECT_EQ(m.left(), frame->MarginLeft());
    EXPECT_EQ(m.top(), frame->MarginTop());
    EXPECT_EQ(m.height(), item->Height());
    // The image needs its width and a gap beside the caption.
    EXPECT_EQ(m.width(), fm.horizontalAdvance("文档制作") + item->TextMarginLeft() + item->TextMarginRight() + 16 + kBarImageGap);
    EXPECT_EQ(p.left(), m.right() + 1);
    EXPECT_EQ(h.width(), fm.horizontalAdvance("帮助(H)") + item->TextMarginLeft() + item->TextMarginRight());
    EXPECT_TRUE(bar->ItemRect(print).isEmpty());
}

TEST_F(Menu, AnUnchangedEnabledOrVisibleDoesNotRepaint) {
    PaintCounter counter;
    bar->installEventFilter(&counter);
    bar->repaint();
    counter.paints = 0;
    make->SetEnabled(false);
    preview->SetEnabled(true);  // already
    print->SetVisible(false);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    make->SetEnabled(true);
    QApplication::processEvents();
    EXPECT_GE(counter.paints, 1);
}

TEST_F(Menu, ItemsActOnTheReleaseNotThePress) {
    QTest::mousePress(bar, Qt::LeftButton, {}, At(help));
    EXPECT_EQ(helpClicks, 0);
    EXPECT_TRUE(mode.Shows(bar));
    EXPECT_EQ(bar->Highlighted(), help);
    EXPECT_EQ(bar->HighlightLook(), TSkItemLook::Focused);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, At(help));
    EXPECT_EQ(helpClicks, 1);
    EXPECT_FALSE(mode.Active());

    // Pressed on one item and let go over another: the highlight followed.
    preview->SetEnabled(false);
    QTest::mousePress(bar, Qt::LeftButton, {}, At(help));
    QTest::mouseMove(bar, At(preview));
    EXPECT_EQ(bar->Highlighted(), preview);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, At(preview));
    EXPECT_EQ(previewClicks + helpClicks, 1);
    EXPECT_FALSE(mode.Active()) << "a release that did nothing must give the keys back";

    // Let go away from the bar: nothing, and the menu closes.
    QTest::mousePress(bar, Qt::LeftButton, {}, At(help));
    QTest::mouseRelease(edit, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(helpClicks, 1);
    EXPECT_FALSE(mode.Active());
}

TEST_F(Menu, DisabledInvisibleAndSeparatorItemsCallNoHandler) {
    make->Click();
    print->Click();
    QTest::mouseClick(bar, Qt::LeftButton, {}, At(make));
    EXPECT_EQ(makeClicks + printClicks, 0);

    GiveHelpSubItems();
    help->Click();  // an item with sub-items only opens them
    EXPECT_EQ(helpClicks, 0);
    separator->Click();
    QTest::mouseClick(bar, Qt::LeftButton, {}, At(help));
    TSkPopupWindow* popup = Popup(1);
    ASSERT_NE(popup, nullptr);
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->ItemRect(separator).center());
    QApplication::processEvents();
    EXPECT_EQ(separatorClicks, 0);
    EXPECT_EQ(Popup(1), popup) << "a click on a separator keeps the menu open";
}

TEST_F(Menu, AClickInAPopupRunsOnceThePopupHasClosed) {
    GiveHelpSubItems();
    QTest::mouseClick(bar, Qt::LeftButton, {}, At(help));
    TSkPopupWindow* popup = Popup(1);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    const QPoint below = bar->mapToGlobal(bar->ItemRect(help).bottomLeft()) + QPoint(0, 1);
    EXPECT_EQ(popup->geometry().topLeft(), below);

    QTest::mouseMove(popup, popup->ItemRect(last).center());
    EXPECT_EQ(popup->Highlighted(), last);
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->ItemRect(last).center());
    EXPECT_EQ(lastClicks, 0) << "performed while the popup was still open";
    EXPECT_FALSE(mode.Active());
    QApplication::processEvents();
    EXPECT_EQ(lastClicks, 1);
    EXPECT_FALSE(popupShownDuringClick);
}

TEST_F(Menu, AltOrF10OpensTheMenuAndTheArrowsMoveAlongTheBar) {
    Key(Qt::Key_Alt);
    ASSERT_TRUE(mode.Shows(bar));
    EXPECT_EQ(bar->Highlighted(), make);
    EXPECT_EQ(bar->HighlightLook(), TSkItemLook::Focused);
    Key(Qt::Key_Right);
    EXPECT_EQ(bar->Highlighted(), preview);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);  // past the hidden item, round to the first
    EXPECT_EQ(bar->Highlighted(), make);
    Key(Qt::Key_Left);
    EXPECT_EQ(bar->Highlighted(), help);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(mode.Active());
    EXPECT_EQ(bar->Highlighted(), nullptr);

    Key(Qt::Key_F10);
    EXPECT_TRUE(mode.Shows(bar));
    // Alt leaves the menu; letting Alt go must not open it again.
    Key(Qt::Key_Alt);
    EXPECT_FALSE(mode.Active());
    // Alt as part of a combination is no menu key.
    QTest::keyPress(window->windowHandle(), Qt::Key_Alt);
    QTest::keyClick(window->windowHandle(), Qt::Key_X, Qt::AltModifier);
    QTest::keyRelease(window->windowHandle(), Qt::Key_Alt);
    EXPECT_FALSE(mode.Active());
    EXPECT_EQ(makeClicks + previewClicks + helpClicks, 0);

    // Moving the window leaves the menu.
    Key(Qt::Key_F10);
    window->move(window->pos() + QPoint(10, 0));
    EXPECT_FALSE(mode.Active());
}

TEST_F(Menu, EnterAndAcceleratorsPerformItemsAndOtherKeysGoToTheFocusedControl) {
    Key(Qt::Key_F10);
    Key(Qt::Key_Return);  // on the disabled first item: nothing
    EXPECT_TRUE(mode.Active());
    EXPECT_EQ(makeClicks, 0);
    QTest::keyClick(window->windowHandle(), '5');
    EXPECT_EQ(edit->text(), "5");
    EXPECT_TRUE(mode.Active());
    Key(Qt::Key_Left);
    Key(Qt::Key_Return);
    EXPECT_EQ(helpClicks, 1);
    EXPECT_FALSE(mode.Active());

    Key(Qt::Key_F10);
    QTest::keyClick(window->windowHandle(), 'h');
    EXPECT_EQ(helpClicks, 2);
    EXPECT_FALSE(mode.Active());
    Key(Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(helpClicks, 3);
    EXPECT_FALSE(mode.Active());
    EXPECT_EQ(edit->text(), "5");
}

TEST_F(Menu, KeysOpenWalkAndClosePopups) {
    GiveHelpSubItems();
    TSkCustomItem* more = help->AddItem("更多");
    TSkCustomItem* deep = more->AddItem("子项", [this](TComponent*) { ++firstClicks; });
    Key(Qt::Key_F10);
    Key(Qt::Key_Left);
    Key(Qt::Key_Down);
    TSkPopupWindow* popup = Popup(1);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Highlighted(), first);
    Key(Qt::Key_Down);
    EXPECT_EQ(popup->Highlighted(), last) << "the separator is passed over";
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    ASSERT_NE(Popup(2), nullptr);
    EXPECT_EQ(Popup(2)->Highlighted(), deep);
    Key(Qt::Key_Left);
    EXPECT_EQ(Popup(2), nullptr);
    Key(Qt::Key_Up);
    Key(Qt::Key_Right);  // no sub-items here: on to the next bar item
    EXPECT_EQ(Popup(1), nullptr);
    EXPECT_EQ(bar->Highlighted(), make);
    Key(Qt::Key_Left);
    EXPECT_EQ(bar->Highlighted(), help);
    Key(Qt::Key_Down);
    ASSERT_NE(Popup(1), nullptr);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Popup(1), nullptr);
    EXPECT_TRUE(mode.Shows(bar));
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_FALSE(mode.Active());
    QApplication::processEvents();
    EXPECT_EQ(firstClicks, 1);
}

TEST_F(Menu, TheBarIsDrawnFromTheSkin) {
    const QRect m = bar->ItemRect(make), h = bar->ItemRect(help);
    QImage img = Grab();
    // The frame's bottom edge, stretched along the bar.
    EXPECT_EQ(img.pixel(200, 18), SkinPixel("zodiraze_menubar", 4, 18));
    EXPECT_EQ(img.pixel(h.left() + 2, h.top() + 8), img.pixel(200, h.top() + 8)) << "a normal item has no strip";
    // Captions: the disabled one grey, the enabled one not.
    auto count = [&](QRect r, QRgb c) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left() + 20; x <= r.right(); ++x) n += img.pixel(x, y) == c;
        return n;
    };
    EXPECT_GT(count(m, qRgb(0x80, 0x80, 0x80)), 5);
    EXPECT_EQ(count(h, qRgb(0x80, 0x80, 0x80)), 0);

    // Hot and focused items show the item's active strip, edge pixels 1:1.
    for (TSkItemLook look : {TSkItemLook::Hot, TSkItemLook::Focused}) {
        bar->Highlight(help, look);
        img = Grab();
        EXPECT_EQ(img.pixel(h.left() + 2, h.top() + 8), SkinPixel("zodiraze_menuitem", 2, 17 + 8));
        EXPECT_EQ(img.pixel(h.left(), h.top() + 8), SkinPixel("zodiraze_menuitem", 0, 17 + 8));
    }
    bar->Highlight(nullptr, TSkItemLook::Normal);

    QTest::mouseMove(bar, At(preview));
    EXPECT_EQ(bar->Highlighted(), preview);
    EXPECT_EQ(bar->HighlightLook(), TSkItemLook::Hot);
}

// Looks at the bar while the engine swaps skins.
struct SwapWatcher : QWidget, TSkSkinClient {
    TSkSkinMenuBar* bar;
    TSkCustomItem* item;
    int changing = 0, heldSkin = 0;
    SwapWatcher(QWidget* parent, TSkSkinMenuBar* b, TSkCustomItem* i) : QWidget(parent), bar(b), item(i) {}
    void SkinChanging(TSkSkinEngine*) override {
        ++changing;
        heldSkin += bar->Skin() != nullptr || item->Skin().Skinned();
    }
    void SkinChanged(TSkSkinEngine*) override {}
};

TEST_F(Menu, ASkinSwapIsTakenUpAndWithoutASkinTheBarIsPlain) {
    auto* watcher = new SwapWatcher(window.get(), bar, help);
    const QByteArray stream = engine.SkinStream();
    engine.SetSkinStream(stream);
    EXPECT_EQ(watcher->changing, 1);
    EXPECT_EQ(watcher->heldSkin, 0) << "the old skin was still in use while it went";
    ASSERT_NE(bar->Skin(), nullptr);
    EXPECT_TRUE(help->Skin().Skinned());
    EXPECT_EQ(help->Skin().menuBar, engine.Source().GetObjectByName("MenuBar"));
    EXPECT_EQ(Grab().pixel(200, 18), SkinPixel("zodiraze_menubar", 4, 18));

    TSkSkinEngine empty(nullptr);
    bar->SetSkinEngine(&empty);
    EXPECT_EQ(bar->Skin(), nullptr);
    EXPECT_FALSE(help->Skin().Skinned());
    EXPECT_EQ(Grab().pixel(200, 10), ToQColor(clMenuBar).rgb());
    EXPECT_EQ(bar->height(), bar->NeededHeight());
    empty.SetSkinStream(stream);  // an engine that was empty tells its controls too
    EXPECT_NE(bar->Skin(), nullptr);
    EXPECT_EQ(bar->height(), 19);
    bar->SetSkinEngine(&engine);
}

TEST_F(Menu, APopupMenuOpensWhereItIsToldAndClosesOnEscape) {
    TSkSkinPopupMenu menu;
    menu.SetSkinEngine(&engine);
    int closes = 0, popups = 0;
    menu.OnPopup = [&](TComponent*) { ++popups; };
    menu.Items()->AddItem("还原")->SetEnabled(false);
    menu.Items()->AddItem("最小化");
    menu.Items()->AddItem("-");
    TSkCustomItem* close = menu.Items()->AddItem("关闭", [&](TComponent*) { ++closes; });
    close->SetShortCut(QKeyCombination(Qt::AltModifier, Qt::Key_F4).toCombined());

    menu.Popup(150, 120);
    EXPECT_EQ(popups, 1);
    TSkPopupWindow* popup = Popup(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->pos(), QPoint(150, 120));
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_FALSE(menu.IsOpen());

    menu.Popup(150, 120);
    popup = Popup(0);
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->ItemRect(menu.Items()->Items(0)).center());
    EXPECT_TRUE(menu.IsOpen()) << "a disabled item does nothing";
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->ItemRect(close).center());
    EXPECT_FALSE(menu.IsOpen());
    QApplication::processEvents();
    EXPECT_EQ(closes, 1);

    // A press outside every menu closes it and chooses nothing.
    menu.Popup(150, 120);
    QTest::mousePress(edit, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(menu.IsOpen());
    EXPECT_EQ(closes, 1);
}

TEST_F(Menu, AnItemRemovedWhileItsMenuIsOpenClosesTheMenu) {
    GiveHelpSubItems();
    QTest::mouseClick(bar, Qt::LeftButton, {}, At(help));
    ASSERT_NE(Popup(1), nullptr);
    delete last;
    EXPECT_FALSE(mode.Active());
    EXPECT_EQ(help->Count(), 2);
    QApplication::processEvents();  // the closed popup goes
}

TEST_F(Menu, AClickWhoseItemWentBeforeItArrivedDoesNothing) {
    GiveHelpSubItems();
    QTest::mouseClick(bar, Qt::LeftButton, {}, At(help));
    QTest::mouseClick(Popup(1), Qt::LeftButton, {}, Popup(1)->ItemRect(last).center());
    delete last;
    QApplication::processEvents();
    EXPECT_EQ(lastClicks, 0);
    // Nor may an item hold its own ancestor.
    first->Add(help);
    EXPECT_EQ(help->Parent(), bar->Items());
    EXPECT_EQ(first->Count(), 0);
}

TEST_F(Menu, PopupsStayOnTheScreen) {
    TSkSkinPopupMenu menu;
    menu.SetSkinEngine(&engine);
    for (const char* c : {"一", "二", "三"}) menu.Items()->AddItem(QString::fromUtf8(c));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    menu.Popup(screen.right() - 5, screen.bottom() - 5);
    const QRect g = Popup(0)->geometry();
    EXPECT_TRUE(screen.contains(g)) << g.x() << "," << g.y();
    menu.Close();

    menu.SetAlignment(TSkPopupAlignment::kpaRight);
    menu.Popup(300, 100);
    EXPECT_EQ(Popup(0)->geometry().right() + 1, 300);
    menu.Close();

    // A bar item near the bottom opens its menu above itself.
    GiveHelpSubItems();
    window->move(screen.left() + 20, screen.bottom() - 40);
    QApplication::processEvents();
    QTest::mouseClick(bar, Qt::LeftButton, {}, At(help));
    ASSERT_NE(Popup(1), nullptr);
    EXPECT_EQ(Popup(1)->geometry().bottom() + 1, bar->mapToGlobal(bar->ItemRect(help).topLeft()).y());
}

TEST_F(Menu, PopupOptionsAndAnimationsComeFromTheDescription) {
    ComponentData d;
    d.className = "TSkSkinMenuBar";
    auto set = [&](const char* path, PropValue v) { d.props.push_back({QString::fromLatin1(path), std::move(v), 0}); };
    set("PopupMenuOptions.Animation.EffectKind", PropValue::Str("[ FADE ] - Fade"));
    set("PopupMenuOptions.Animation.Enabled", PropValue::Bool(true));
    set("PopupMenuOptions.Animation.Direction", PropValue::Ident("kdRotate270"));
    set("PopupMenuOptions.Animation.Time", PropValue::Int(120));
    set("PopupMenuOptions.Blending.Value", PropValue::Int(200));
    bar->ApplyProperties(d);
    const TSkAnimation& a = bar->PopupMenuOptions().Animation;
    EXPECT_TRUE(a.Enabled());
    EXPECT_EQ(a.EffectKind(), "[ FADE ] - Fade");
    EXPECT_EQ(a.Rec().Rotation, TskRotation::krRotate270);
    EXPECT_EQ(a.Time(), 120);
    EXPECT_EQ(bar->PopupMenuOptions().Blending.Value, 200);
    // Only what differs from the defaults is written back.
    const ComponentData saved = bar->Save();
    EXPECT_NE(saved.Find("PopupMenuOptions.Animation.Time"), nullptr);
    EXPECT_EQ(saved.Find("PopupMenuOptions.Animation.Resolution"), nullptr);

    // An animated popup still ends up showing its whole picture.
    GiveHelpSubItems();
    QTest::mouseClick(bar, Qt::LeftButton, {}, At(help));
    ASSERT_NE(Popup(1), nullptr);
    EXPECT_EQ(Popup(1)->grab().toImage().convertToFormat(QImage::Format_RGB32),
              Popup(1)->Picture().convertToFormat(QImage::Format_RGB32));
}

TEST_F(Menu, TheReleaseOfThePressThatOpenedAPopupChoosesNothing) {
    TSkSkinPopupMenu menu;
    menu.SetSkinEngine(&engine);
    int clicks = 0;
    TSkCustomItem* item = menu.Items()->AddItem("最小化", [&](TComponent*) { ++clicks; });
    const QPoint pointer = window->mapToGlobal(QPoint(200, 100));
    QCursor::setPos(pointer);
    QApplication::processEvents();
    menu.Popup(pointer.x() - 10, pointer.y() - 10);  // the item lies under the pointer
    TSkPopupWindow* popup = Popup(0);
    ASSERT_TRUE(popup->ItemRect(item).contains(popup->mapFromGlobal(pointer)));
    QTest::mouseRelease(popup, Qt::RightButton, {}, popup->mapFromGlobal(pointer));
    EXPECT_TRUE(menu.IsOpen());
    QTest::mouseClick(popup, Qt::RightButton, {}, popup->mapFromGlobal(pointer));
    QApplication::processEvents();
    EXPECT_EQ(clicks, 1);
}

TEST_F(Menu, ShortcutsPerformTheirItemFromTheFocusedControlOnlyWhenItCouldBeClicked) {
    TSkCustomItem* file = Item("成绩单", nullptr);
    file->OnClick = {};
    int saves = 0, opens = 0;
    TSkCustomItem* open = file->AddItem("打开…", [&opens](TComponent*) { ++opens; });
    open->SetShortCut(int(Qt::CTRL | Qt::Key_O));
    TSkCustomItem* save = file->AddItem("保存", [&saves](TComponent*) { ++saves; });
    save->SetShortCut(int(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(save->ShortCutText(), "Ctrl+S");

    Key(Qt::Key_S, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(edit->text(), "");  // the key went no further
    // Shift makes another key; the letter alone is typed.
    Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_S);
    QApplication::processEvents();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(edit->text(), "s");

    save->SetEnabled(false);
    Key(Qt::Key_S, Qt::ControlModifier);
    save->SetEnabled(true);
    save->SetVisible(false);
    Key(Qt::Key_S, Qt::ControlModifier);
    save->SetVisible(true);
    file->SetEnabled(false);  // the popup it is in cannot open
    Key(Qt::Key_O, Qt::ControlModifier);
    file->SetEnabled(true);
    QApplication::processEvents();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(opens, 0);
    Key(Qt::Key_O, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(opens, 1);

    // Keys of another window are that window's.
    QLineEdit other;
    other.show();
    QApplication::setActiveWindow(&other);
    other.setFocus();
    QTest::keyClick(&other, Qt::Key_O, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(opens, 1);
}

// "&" marks the accelerator: it is not shown, and the letter after it is
// underlined, on the bar and in popups; the item keeps its size.
TEST_F(Menu, TheAcceleratorLetterIsUnderlined) {
    // Where item looks different drawn with its mark and without it.
    auto underline = [](TSkCustomItem* item, const std::function<QImage()>& draw) {
        const QString marked = item->Caption();
        const QImage with = draw();
        item->SetCaption(item->DisplayCaption());
        const QImage without = draw();
        item->SetCaption(marked);
        QRect changed;
        for (int y = 0; y < with.height(); ++y)
            for (int x = 0; x < with.width(); ++x)
                if (with.pixel(x, y) != without.pixel(x, y)) changed |= QRect(x, y, 1, 1);
        return changed;
    };
    const QRect onBar = bar->ItemRect(help);
    const QRect line = underline(help, [&] { return Grab().copy(onBar); });
    ASSERT_FALSE(line.isEmpty()) << "nothing underlined on the bar";
    EXPECT_LE(line.height(), 2);
    EXPECT_GE(line.width(), 4);
    EXPECT_EQ(bar->ItemRect(help), onBar);

    // In a popup, skinned and plain.
    for (TSkSkinEngine* skin : {&engine, static_cast<TSkSkinEngine*>(nullptr)}) {
        const char* look = skin ? "skinned" : "plain";
        TSkSkinMenuBar other(nullptr, window.get());
        TSkCustomItem* entry = other.Items()->AddItem("帮助(&H)")->AddItem("使用说明(&U)");
        other.SetSkinEngine(skin);
        const QSize size = MeasurePopupItem(*entry, window->font());
        const QRect popupLine = underline(entry, [&] {
            QImage img(size, QImage::Format_RGB32);
            img.fill(Qt::white);
            QPainter p(&img);
            DrawPopupItem(p, *entry, QRect(QPoint(0, 0), size), TSkItemLook::Normal, window->font());
            return img;
        });
        EXPECT_FALSE(popupLine.isEmpty()) << look << ": nothing underlined in the popup";
        EXPECT_LE(popupLine.height(), 2) << look;
        entry->SetCaption(entry->DisplayCaption());
        EXPECT_EQ(MeasurePopupItem(*entry, window->font()), size) << look;
    }
}
