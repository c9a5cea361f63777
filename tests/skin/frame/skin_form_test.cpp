// The skinned window frame on a small form of its own: client area, hit
// rules, system buttons, window states, hover across a skin change, the
// plain frame without a skin, and moving and sizing where the platform will
// not do it for us.
#include "controls.h"
#include "form.h"
#include "logical_pixels.h"
#include "skin_form.h"
#include "skin_frame_geometry.h"
#include "skin_frame_view.h"
#include "skin_popup_menu.h"
#include "skin_tray.h"
#include "styled_label.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TTestForm : public TForm {
public:
    QString ClassName() const override { return QStringLiteral("TTestForm"); }
};

const char* const kSkinFile = MARKWISE_SOURCE_DIR "/resources/zodiraze.cskn";

// A form as the program's window describes it: caption, client size, an
// engine with our skin, the frame, one control.
QByteArray Description(const QString& frameProps, bool withSkin = true) {
    QString text = QStringLiteral("object TestForm: TTestForm\n"
                                  "  Left = 100\n  Top = 80\n  Caption = 'Markwise07.7'\n"
                                  "  ClientWidth = 370\n  ClientHeight = 287\n");
    if (withSkin) text += QStringLiteral("  object SkSkinEngine1: TSkSkinEngine\n    SkinFile = '%1'\n  end\n").arg(QLatin1String(kSkinFile));
    text += QStringLiteral("  object SkSkinForm1: TSkSkinForm\n");
    if (withSkin) text += QStringLiteral("    SkinEngine = SkSkinEngine1\n");
    text += frameProps;
    text += QStringLiteral("  end\n  object Label1: TFrLabel\n    Left = 8\n    Top = 24\n    Caption = 'x'\n  end\nend\n");
    return text.toUtf8();
}

class Frame : public ::testing::Test {
protected:
    void Load(const QString& frameProps = QString(), bool withSkin = true) {
        RegisterFramedControls();
        RegisterSkinEngineComponents();
        RegisterSkinFormComponents();
        form = std::make_unique<TTestForm>();
        form->LoadDescriptionText(Description(frameProps, withSkin), QStringLiteral("test.form"));
        frame = form->Find<TSkSkinForm>(QStringLiteral("SkSkinForm1"));
        ASSERT_NE(frame, nullptr);
    }
    void Show() {
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    TSkSkinObject* Part(const char* name) const { return frame->FormObject()->FindByName(QString::fromLatin1(name)); }
    QPoint Inside(const char* name) const { return Part(name)->BoundsRect().center(); }
    QWidget* View() const { return form->findChild<TSkFrameView*>(); }
    QStringList VisibleButtons() const {
        QStringList shown;
        for (const char* n : {"CloseButton", "MaximizeButton", "RestoreButton", "MinimizeButton", "RollUpButton", "RollDownButton"})
            if (Part(n)->Visible()) shown << QString::fromLatin1(n);
        return shown;
    }
    // A mouse event with the pointer's place on the screen given outright.
    void Send(QEvent::Type type, QPoint local, QPoint global, Qt::MouseButtons held, Qt::MouseButton button = Qt::NoButton) {
        QMouseEvent e(type, QPointF(local), QPointF(local), QPointF(global), button, held, Qt::NoModifier);
        QApplication::sendEvent(View(), &e);
    }

    std::unique_ptr<TTestForm> form;
    TSkSkinForm* frame = nullptr;
};

}  // namespace

TEST_F(Frame, ControlsLiveInTheClientAreaWhichKeepsTheDescribedSize) {
    Load();
    EXPECT_EQ(form->ClientWidth(), 370);
    EXPECT_EQ(form->ClientHeight(), 287);
    EXPECT_EQ(form->size(), QSize(402, 344));
    EXPECT_EQ(form->contentsMargins(), QMargins(16, 36, 16, 21));
    EXPECT_EQ(frame->ClientRect(), QRect(16, 36, 370, 287));
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    auto* label = form->Find<TFrLabel>(QStringLiteral("Label1"));
    EXPECT_EQ(label->parentWidget(), frame->ClientArea());
    EXPECT_EQ(label->pos(), QPoint(8, 24));
    EXPECT_EQ(form->pos(), QPoint(100, 80));
    // The form takes the frame's colour; the client size survives a change of it.
    EXPECT_EQ(form->Color(), frame->SkinCopy()->Color());
    form->SetClientWidth(300);
    EXPECT_EQ(form->width(), 332);
    Show();
    EXPECT_EQ(frame->ClientArea()->width(), 300);
}

TEST_F(Frame, HitRulesFollowDraggingAndTheWindowState) {
    Load();
    Show();
    const QPoint caption = Inside("Title"), left = Inside("Left"), corner = Inside("BottomRight");
    EXPECT_EQ(frame->AreaAt(caption), TSkFrameArea::Caption);
    EXPECT_EQ(frame->AreaAt(left), TSkFrameArea::Left);
    EXPECT_EQ(frame->AreaAt(corner), TSkFrameArea::BottomRight);
    EXPECT_EQ(frame->AreaAt(QPoint(200, 200)), TSkFrameArea::Client);
    EXPECT_EQ(frame->AreaAt(QPoint(-5, 10)), TSkFrameArea::Client);

    frame->Dragging().moveable = false;
    EXPECT_EQ(frame->AreaAt(caption), TSkFrameArea::Client);
    EXPECT_EQ(frame->AreaAt(left), TSkFrameArea::Left);
    frame->Dragging().moveable = true;
    frame->Dragging().sizeable = false;
    EXPECT_EQ(frame->AreaAt(left), TSkFrameArea::Client);
    EXPECT_EQ(frame->AreaAt(corner), TSkFrameArea::Client);
    frame->Dragging().sizeable = true;

    // A maximized or rolled-up window has no size to drag; its caption still moves it.
    for (TSkWindowState s : {TSkWindowState::kwsMaximized, TSkWindowState::kwsRollup}) {
        frame->SetWindowState(s);
        EXPECT_EQ(frame->AreaAt(Inside("Title")), TSkFrameArea::Caption);
        EXPECT_EQ(frame->AreaAt(QPoint(2, 40)), TSkFrameArea::Client) << int(s);
        EXPECT_EQ(frame->AreaAt(Inside("TopLeft")), TSkFrameArea::Client);
        EXPECT_EQ(frame->AreaAt(Inside("BottomRight")), TSkFrameArea::Client);
        frame->SetWindowState(TSkWindowState::kwsNormal);
    }
    EXPECT_EQ(frame->AreaAt(Inside("Left")), TSkFrameArea::Left);
}

TEST_F(Frame, SystemButtonsFollowTheWindowStateAndTheBorderIcons) {
    Load(QStringLiteral("    BorderIcons = [kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiRollup]\n"));
    Show();
    using S = TSkWindowState;
    EXPECT_EQ(VisibleButtons(), QStringList({"CloseButton", "MaximizeButton", "MinimizeButton", "RollUpButton"}));
    frame->SetWindowState(S::kwsMaximized);
    EXPECT_EQ(VisibleButtons(), QStringList({"CloseButton", "RestoreButton", "MinimizeButton", "RollUpButton"}));
    frame->SetWindowState(S::kwsNormal);
    frame->SetWindowState(S::kwsRollup);
    EXPECT_EQ(VisibleButtons(), QStringList({"CloseButton", "MaximizeButton", "MinimizeButton", "RollDownButton"}));
    // The roll-down button sits where roll-up was, and takes the window back.
    const QPoint at = Inside("RollDownButton");
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(frame->WindowState(), S::kwsNormal);

    // Without kbiMaximize neither maximize nor restore shows, in any state.
    frame->SetBorderIcons(kbiClose | kbiSystemMenu | kbiMinimize);
    for (S s : {S::kwsNormal, S::kwsMaximized, S::kwsRollup, S::kwsMinimized}) {
        frame->SetWindowState(s);
        EXPECT_FALSE(Part("MaximizeButton")->Visible()) << int(s);
        EXPECT_FALSE(Part("RestoreButton")->Visible()) << int(s);
        EXPECT_FALSE(Part("RollUpButton")->Visible()) << int(s);
        EXPECT_FALSE(Part("RollDownButton")->Visible()) << int(s);
        frame->SetWindowState(S::kwsNormal);
    }
    // And a double-click on the caption does not maximize.
    QTest::mouseDClick(View(), Qt::LeftButton, Qt::NoModifier, Inside("Title"));
    EXPECT_EQ(frame->WindowState(), S::kwsNormal);
}

TEST_F(Frame, ASkinChangeLeavesNoHoveredObjectBehind) {
    Load();
    Show();
    QCursor::setPos(form->mapToGlobal(Inside("CloseButton")));
    frame->TrackHover();
    auto* close = dynamic_cast<TSkSystemButton*>(Part("CloseButton"));
    ASSERT_EQ(frame->HoveredObject(), close);
    EXPECT_EQ(close->Look(), TSkButtonLook::Hot);

    frame->SkinEngine()->SetSkinFile(QString::fromLatin1(kSkinFile));
    EXPECT_EQ(frame->HoveredObject(), nullptr);
    EXPECT_EQ(form->size(), QSize(402, 344));
    EXPECT_EQ(frame->PressedObject(), nullptr);
    auto* fresh = dynamic_cast<TSkSystemButton*>(Part("CloseButton"));
    EXPECT_EQ(fresh->Look(), TSkButtonLook::Normal);
    // The next round of the hover timer finds the new button.
    frame->TrackHover();
    EXPECT_EQ(frame->HoveredObject(), fresh);
    EXPECT_EQ(fresh->Look(), TSkButtonLook::Hot);
    QCursor::setPos(form->mapToGlobal(QPoint(200, 200)));
    frame->TrackHover();
    EXPECT_EQ(fresh->Look(), TSkButtonLook::Normal);
}

TEST_F(Frame, WithoutASkinThePlainFrameOffersTheSameAreasAndActions) {
    Load(QString(), false);
    EXPECT_EQ(frame->SkinCopy(), nullptr);
    EXPECT_EQ(form->Color(), clBtnFace);
    EXPECT_EQ(form->ClientWidth(), 370);
    EXPECT_EQ(form->ClientHeight(), 287);
    Show();
    for (auto [name, area] : {std::pair{"Title", TSkFrameArea::Caption}, {"Left", TSkFrameArea::Left}, {"Right", TSkFrameArea::Right},
                              {"Bottom", TSkFrameArea::Bottom}, {"Top", TSkFrameArea::Top}, {"TopLeft", TSkFrameArea::TopLeft},
                              {"BottomRight", TSkFrameArea::BottomRight}, {"CloseButton", TSkFrameArea::SysButton}})
        EXPECT_EQ(frame->AreaAt(Inside(name)), area) << name;
    EXPECT_EQ(VisibleButtons(), QStringList({"CloseButton", "MaximizeButton", "MinimizeButton"}));
    // Drawn in the system's caption colours: the buttons' glyphs on the caption.
    const QImage shot = frame->GrabWindow();
    const QRect close = Part("CloseButton")->BoundsRect();
    EXPECT_TRUE(Near(PixelAt(shot, QPoint(200, 12)), ToQColor(clActiveCaption)));
    EXPECT_TRUE(Near(PixelAt(shot, close.topLeft() + QPoint(2, 2)), ToQColor(clActiveCaption)));
    EXPECT_TRUE(Near(PixelAt(shot, close.center()), ToQColor(clCaptionText)));
    EXPECT_TRUE(Near(PixelAt(shot, QPoint(1, 150)), ToQColor(clActiveCaption)));
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, Inside("MaximizeButton"));
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsMaximized);
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, Inside("RestoreButton"));
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsNormal);
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, Inside("CloseButton"));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Frame, MaximizeRollUpMinimizeAndBackToTheSamePlace) {
    Load();
    Show();
    const QRect normal = form->geometry();
    frame->SkMaximize();
    EXPECT_EQ(form->geometry(), form->screen()->availableGeometry());
    EXPECT_EQ(frame->ClientRect().size(), form->size().shrunkBy(QMargins(16, 36, 16, 21)));
    frame->SkRestore();
    EXPECT_EQ(form->geometry(), normal);

    frame->SkRollUp();
    EXPECT_EQ(form->geometry(), QRect(normal.topLeft(), QSize(402, 36 + 21)));
    EXPECT_FALSE(frame->ClientArea()->isVisible());
    // Rolled up from there, maximized, then restored: the normal place is kept.
    frame->SkMaximize();
    EXPECT_EQ(form->geometry(), form->screen()->availableGeometry());
    frame->SkRestore();
    EXPECT_EQ(form->geometry(), normal);
    EXPECT_TRUE(frame->ClientArea()->isVisible());

    frame->SkMinimize();
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsMinimized);
    EXPECT_TRUE(form->windowState() & Qt::WindowMinimized);
    frame->SkRestore();
    EXPECT_FALSE(form->windowState() & Qt::WindowMinimized);
    EXPECT_EQ(form->geometry(), normal);
}

TEST_F(Frame, AHandlerCanRefuseAStateAndAskingAgainRestores) {
    Load();
    Show();
    bool allow = false;
    int asked = 0;
    frame->OnMaximize = [&](TComponent* sender, bool& can) {
        EXPECT_EQ(sender, frame);
        ++asked;
        can = allow;
    };
    frame->SkMaximize();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsNormal);
    allow = true;
    frame->SkMaximize();
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsMaximized);
    frame->SkMaximize();
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsNormal);
    EXPECT_EQ(asked, 3);
}

TEST_F(Frame, AStateFromTheDescriptionWaitsForTheFirstShow) {
    Load(QStringLiteral("    WindowState = kwsMaximized\n"));
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsNormal);
    Show();
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsMaximized);
    EXPECT_EQ(form->geometry(), form->screen()->availableGeometry());
    frame->SkRestore();
    EXPECT_EQ(form->geometry(), QRect(100, 80, 402, 344));
}

TEST_F(Frame, TheTrayWithoutANotificationAreaMinimizesInstead) {
    EXPECT_EQ(TSkTrayIcon::CutTip(QString(70, QChar('a'))).size(), 63);
    EXPECT_EQ(TSkTrayIcon::CutTip(QStringLiteral("成绩分析")), QStringLiteral("成绩分析"));
    // A character outside the basic plane is never cut in half.
    const QString wide = QString(62, QChar('a')) + QString::fromUcs4(U"\U0001F4CA");
    EXPECT_EQ(TSkTrayIcon::CutTip(wide), QString(62, QChar('a')));

    Load();
    Show();
    if (TSkTrayIcon::Available()) GTEST_SKIP() << "this desktop has a notification area";
    frame->SkMinimizeToTray();
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsMinimized);
    EXPECT_FALSE(frame->InTray());
    EXPECT_TRUE(form->windowState() & Qt::WindowMinimized);
}

TEST_F(Frame, MovedAndSizedByHandWhereThePlatformWillNot) {
    Load(QStringLiteral("    Gravitation.Size = 20\n"));
    Show();
    if (form->windowHandle()->startSystemMove()) GTEST_SKIP() << "a window manager moves this window";
    const QPoint caption = Inside("Title");
    const QPoint start = form->mapToGlobal(caption);
    Send(QEvent::MouseButtonPress, caption, start, Qt::LeftButton, Qt::LeftButton);
    // A small travel is not yet a move, but the window follows it: the
    // pointer keeps its place on the caption from the first pixel.
    Send(QEvent::MouseMove, caption, start + QPoint(2, 1), Qt::LeftButton);
    EXPECT_EQ(form->pos(), QPoint(102, 81));
    Send(QEvent::MouseMove, caption, start + QPoint(30, 0), Qt::LeftButton);
    Send(QEvent::MouseMove, caption, start + QPoint(60, 45), Qt::LeftButton);
    EXPECT_EQ(form->pos(), QPoint(160, 125));
    // Near the work area's left edge it sticks to it.
    const QRect work = form->screen()->availableGeometry();
    Send(QEvent::MouseMove, caption, start + QPoint(work.left() - 100 + 12, 45), Qt::LeftButton);
    EXPECT_EQ(form->x(), work.left());
    Send(QEvent::MouseButtonRelease, caption, start, Qt::NoButton, Qt::LeftButton);

    const QRect before = form->geometry();
    const QPoint corner = Inside("BottomRight");
    const QPoint at = form->mapToGlobal(corner);
    Send(QEvent::MouseButtonPress, corner, at, Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, corner, at + QPoint(50, 30), Qt::LeftButton);
    EXPECT_EQ(form->geometry(), QRect(before.topLeft(), before.size() + QSize(50, 30)));
    EXPECT_EQ(form->ClientWidth(), 420);
    // Never smaller than the frame needs.
    Send(QEvent::MouseMove, corner, at - QPoint(1000, 1000), Qt::LeftButton);
    EXPECT_EQ(form->size(), form->minimumSize());
    EXPECT_GE(form->width(), 16 + 16 + 136);
    EXPECT_EQ(form->height(), 36 + 21);
    Send(QEvent::MouseButtonRelease, corner, at, Qt::NoButton, Qt::LeftButton);
}

TEST_F(Frame, LinkedObjectsPlaceTheirControlInClientCoordinates) {
    Load();
    TSkSkinObject* source = frame->SkinEngine()->Source().GetFormObject();
    auto* link = new TSkLinkSkinObject(source);
    link->SetName(QStringLiteral("LabelPlace"));
    link->linkControl_ = QStringLiteral("Label1");
    link->SetBoundsRect(QRect(40, 50, 100, 20));
    frame->SetSkinEngine(frame->SkinEngine());
    auto* label = form->Find<TFrLabel>(QStringLiteral("Label1"));
    EXPECT_EQ(label->geometry(), QRect(40 - 16, 50 - 36, 100, 20));
    delete link;
    frame->SetSkinEngine(frame->SkinEngine());
}

TEST(SystemMenu, EntriesFollowTheStateAndTheBorderIcons) {
    using S = TSkWindowState;
    using A = TSkAction;
    auto enabled = [](S s, unsigned icons) {
        QStringList on;
        for (const TSkSystemMenuEntry& e : SystemMenuEntries(s, icons))
            if (e.enabled && e.action != A::sbaNone) on << e.caption;
        return on;
    };
    const unsigned all = kbiClose | kbiSystemMenu | kbiMinimize | kbiMaximize;
    EXPECT_EQ(enabled(S::kwsNormal, all), QStringList({"最小化(&N)", "最大化(&X)", "关闭(&C)"}));
    EXPECT_EQ(enabled(S::kwsMaximized, all), QStringList({"还原(&R)", "最小化(&N)", "关闭(&C)"}));
    EXPECT_EQ(enabled(S::kwsMinimized, all), QStringList({"还原(&R)", "最大化(&X)", "关闭(&C)"}));
    EXPECT_EQ(enabled(S::kwsNormal, kbiClose), QStringList({"关闭(&C)"}));
    EXPECT_EQ(enabled(S::kwsRollup, all | kbiRollup), QStringList({"还原(&R)", "最小化(&N)", "最大化(&X)", "展开(&D)", "关闭(&C)"}));
    // The shape stays: disabled entries are there, greyed.
    EXPECT_EQ(SystemMenuEntries(S::kwsNormal, kbiClose).size(), SystemMenuEntries(S::kwsNormal, all).size());
}

TEST_F(Frame, TheSystemMenuOpensOnTheCaptionAndDoesWhatIsChosen) {
    Load();
    Show();
    QTest::mouseClick(View(), Qt::RightButton, Qt::NoModifier, Inside("Title"));
    TSkSkinPopupMenu* menu = frame->SystemMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->IsOpen());
    // The skinned popup, drawn from the frame's own skin.
    EXPECT_TRUE(menu->Items()->Skin().Skinned());
    QStringList offered;
    for (int k = 0; k < menu->Items()->Count(); ++k)
        if (const TSkCustomItem* i = menu->Items()->Items(k); !i->IsSeparator())
            offered << i->Caption() + (i->Enabled() ? "" : " (off)") + (i->ShortCut() ? "\t" + i->ShortCutText() : "");
    EXPECT_EQ(offered, QStringList({"还原(&R) (off)", "最小化(&N)", "最大化(&X)", "关闭(&C)\tAlt+F4"}));
    // Its accelerator chooses an item; the action runs once the menu has closed.
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_X);
    QApplication::processEvents();
    EXPECT_FALSE(menu->IsOpen());
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsMaximized);
    // Maximised, restore is offered and maximise is not.
    QTest::mouseClick(View(), Qt::RightButton, Qt::NoModifier, Inside("Title"));
    ASSERT_TRUE(menu->IsOpen());
    EXPECT_TRUE(menu->Items()->Items(0)->Enabled());
    EXPECT_FALSE(menu->Items()->Items(2)->Enabled());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    EXPECT_FALSE(menu->IsOpen());
    EXPECT_EQ(frame->WindowState(), TSkWindowState::kwsMaximized);
}

// The description sets how the window and its menus appear; the system menu
// opens with the system-menu options, not the tray's.
TEST_F(Frame, MenuOptionsComeFromTheDescription) {
    Load(QStringLiteral("    Animation.Time = 250\n"
                        "    SystemMenuOptions.Shadow.Enabled = True\n"
                        "    SystemMenuOptions.Animation.EffectKind = 'Fade'\n"
                        "    TrayMenuOptions.Blending.Enabled = True\n"));
    EXPECT_EQ(frame->Animation().Time(), 250);
    EXPECT_FALSE(frame->Animation().Enabled());
    Show();
    QTest::mouseClick(View(), Qt::RightButton, Qt::NoModifier, Inside("Title"));
    ASSERT_NE(frame->SystemMenu(), nullptr);
    const TSkPopupMenuOptions& used = frame->SystemMenu()->PopupMenuOptions();
    EXPECT_TRUE(used.Shadow.Enabled);
    EXPECT_FALSE(used.Blending.Enabled);
    EXPECT_EQ(used.Animation.EffectKind(), "Fade");
    frame->SystemMenu()->Close();
}

TEST_F(Frame, ADoubleClickOnTheMenuButtonClosesTheWindow) {
    Load();
    Show();
    const QPoint icon = Inside("SysMenuButton");
    // The first click opens the menu; the second lands on the button while it is open.
    QTest::mouseClick(View(), Qt::LeftButton, Qt::NoModifier, icon);
    ASSERT_NE(frame->SystemMenu(), nullptr);
    EXPECT_TRUE(frame->SystemMenu()->IsOpen());
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QCursor::setPos(form->mapToGlobal(icon));
    QTest::mousePress(popup, Qt::LeftButton, Qt::NoModifier, popup->mapFromGlobal(form->mapToGlobal(icon)));
    QApplication::processEvents();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Frame, AToolWindowTakesTheToolWindowObject) {
    Load(QStringLiteral("    BorderStyle = kbsToolWindow\n"));
    ASSERT_NE(frame->SkinCopy(), nullptr);
    EXPECT_EQ(frame->SkinCopy()->Name(), "ToolWindow");
    EXPECT_EQ(frame->SkinObject(), "ToolWindow");
    EXPECT_EQ(form->contentsMargins(), QMargins(8, 28, 8, 10));
    EXPECT_EQ(form->ClientWidth(), 370);
    EXPECT_EQ(Part("MaximizeButton"), nullptr);
    Show();
    EXPECT_EQ(frame->AreaAt(Inside("CloseButton")), TSkFrameArea::SysButton);
    // Without a frame at all the client is the whole window.
    frame->SetBorderStyle(TSkBorderStyle::kbsNone);
    EXPECT_EQ(form->contentsMargins(), QMargins());
    EXPECT_EQ(form->size(), QSize(370, 287));
    EXPECT_EQ(frame->AreaAt(QPoint(5, 5)), TSkFrameArea::Client);
    EXPECT_TRUE(form->mask().isEmpty());
}

TEST_F(Frame, StayOnTopAndSwitchingTheFrameOffKeepTheWindowWhereItIs) {
    Load();
    Show();
    const QRect at = form->geometry();
    frame->SetStayOnTop(true);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->geometry(), at);
    // Inactive, the platform's own frame takes over around the same client.
    frame->SetActive(false);
    EXPECT_FALSE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form->contentsMargins(), QMargins());
    EXPECT_EQ(form->size(), QSize(370, 287));
    EXPECT_EQ(frame->ClientRect(), QRect(0, 0, 370, 287));
    frame->SetActive(true);
    EXPECT_EQ(form->size(), QSize(402, 344));
    EXPECT_EQ(frame->ClientRect(), QRect(16, 36, 370, 287));
}

TEST_F(Frame, AFrameNoScreenCouldHoldFallsBackToThePlainOne) {
    Load();
    Show();
    // A damaged skin: a bottom edge a million pixels high.
    TSkSkinObject* bottom = frame->SkinEngine()->Source().GetFormObject()->FindByName(QStringLiteral("Bottom"));
    bottom->SetHeight(1000000);
    frame->SetSkinEngine(frame->SkinEngine());
    EXPECT_EQ(frame->SkinCopy(), nullptr);
    EXPECT_EQ(form->ClientWidth(), 370);
    EXPECT_EQ(form->ClientHeight(), 287);
    EXPECT_LT(form->height(), 400);
    EXPECT_EQ(frame->AreaAt(Inside("Title")), TSkFrameArea::Caption);
}

TEST(FrameGeometry, AWindowIsKeptOnTheWorkArea) {
    const QRect work(0, 0, 640, 512);
    // One that fits stays where it is.
    EXPECT_EQ(KeptOnWorkArea(QRect(100, 80, 402, 344), work), QRect(100, 80, 402, 344));
    EXPECT_EQ(KeptOnWorkArea(QRect(238, 168, 402, 344), work), QRect(238, 168, 402, 344));
    // The stored place doubled by the scale: moved back in, the size kept.
    EXPECT_EQ(KeptOnWorkArea(QRect(347, 251, 402, 344), work), QRect(238, 168, 402, 344));
    EXPECT_EQ(KeptOnWorkArea(QRect(-50, -9, 402, 344), work), QRect(0, 0, 402, 344));
    // A second screen to the right, below a panel.
    const QRect second(1280, 24, 800, 576);
    EXPECT_EQ(KeptOnWorkArea(QRect(1900, 500, 402, 344), second), QRect(1678, 256, 402, 344));
    // Larger than the work area: shrunk to it, though never below its smallest.
    EXPECT_EQ(KeptOnWorkArea(QRect(30, 30, 900, 700), work), work);
    EXPECT_EQ(KeptOnWorkArea(QRect(30, 30, 900, 700), work, QSize(700, 100)), QRect(0, 0, 700, 512));
    // Nothing to go by: nothing moves.
    EXPECT_EQ(KeptOnWorkArea(QRect(5000, 5000, 402, 344), QRect()), QRect(5000, 5000, 402, 344));
}

TEST_F(Frame, TheWholeWindowIsOnTheScreenWhenShownAndWhenRestored) {
    Load();
    const QRect work = form->screen()->availableGeometry();
    // Placed for a larger screen than this one.
    form->move(work.right() - 100, work.bottom() - 60);
    Show();
    EXPECT_TRUE(work.contains(form->geometry())) << form->x() << "," << form->y();
    const QRect shown = form->geometry();

    // Left partly off the screen, then maximized and restored: back on it.
    form->move(work.left() - 150, work.top() + 10);
    const QRect off = form->geometry();
    ASSERT_FALSE(work.contains(off));
    frame->SkMaximize();
    frame->SkRestore();
    EXPECT_EQ(form->geometry(), KeptOnWorkArea(off, work, form->minimumSize()));
    EXPECT_TRUE(work.contains(form->geometry()));
    EXPECT_EQ(form->size(), shown.size().boundedTo(work.size()));
}

TEST_F(Frame, TheSizeGripShowsOnlyWhileTheWindowCanBeSized) {
    Load();
    Show();
    TSkSkinObject* grip = Part("BottomRight");
    ASSERT_NE(grip, nullptr);
    ASSERT_TRUE(grip->IsBitmapObject());
    // A dot of the grip, and the mat just left of it.
    auto dotAndMat = [&] {
        const QImage shot = frame->GrabWindow();
        const QPoint dot(form->width() - 10, form->height() - 10);
        return std::make_pair(PixelAt(shot, dot), PixelAt(shot, dot - QPoint(1, 0)));
    };
    auto [dot, mat] = dotAndMat();
    EXPECT_NE(dot, mat) << "no grip on a window that can be sized";

    frame->SkMaximize();
    std::tie(dot, mat) = dotAndMat();
    EXPECT_EQ(dot, mat) << "a grip on a maximized window";
    EXPECT_EQ(frame->AreaAt(grip->BoundsRect().center()), TSkFrameArea::Client);

    frame->SkRestore();
    std::tie(dot, mat) = dotAndMat();
    EXPECT_NE(dot, mat);
    EXPECT_EQ(frame->AreaAt(Part("BottomRight")->BoundsRect().center()), TSkFrameArea::BottomRight);
}
