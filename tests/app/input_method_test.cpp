// Chinese input through a real input method: keys typed on the X server go
// through fcitx5's pinyin engine into the main window's edits and memo, and
// the candidate window opens at the caret. run_input_method_test.sh gives this
// program its own X server, session bus and fcitx5.
#include "app_fixture.h"

#include "memo.h"
#include "skin_controls.h"

#include <QDeadlineTimer>
#include <QInputMethodEvent>
#include <QProcess>
#include <QTest>

namespace {

// Spins the event loop until cond holds; false when it never does.
bool WaitFor(const std::function<bool()>& cond, int ms = 30000) {
    const QDeadlineTimer deadline(ms);
    while (!cond()) {
        if (deadline.hasExpired()) return false;
        QTest::qWait(20);
    }
    return true;
}

// Runs a helper program while this one keeps handling its events.
QString RunProgram(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    WaitFor([&] { return p.state() == QProcess::NotRunning; });
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

// Keys through the X server's test extension, as a keyboard would send them.
void Keys(const QStringList& args) { RunProgram(QStringLiteral("xdotool"), args); }

// The composition the input method shows in a widget, as it arrives.
class PreeditWatch : public QObject {
public:
    explicit PreeditWatch(QWidget* w) { w->installEventFilter(this); }
    QString preedit;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::InputMethod) preedit = static_cast<QInputMethodEvent*>(e)->preeditString();
        return false;
    }
};

// The input method's candidate window, when it shows.
std::optional<QRect> CandidateWindow() {
    const QString ids = RunProgram(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--class", "fcitx"});
    for (const QString& id : ids.split('\n', Qt::SkipEmptyParts)) {
        const QString shell = RunProgram(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", id});
        QHash<QString, int> v;
        for (const QString& line : shell.split('\n')) {
            const QStringList kv = line.split('=');
            if (kv.size() == 2) v[kv[0]] = kv[1].toInt();
        }
        if (v.value("WIDTH") > 1 && v.value("HEIGHT") > 1) return QRect(v["X"], v["Y"], v["WIDTH"], v["HEIGHT"]);
    }
    return std::nullopt;
}

std::string Describe(const QRect& caret, const QRect& candidates) {
    return QStringLiteral("caret at %1,%2 %3x%4, candidates at %5,%6")
        .arg(caret.x()).arg(caret.y()).arg(caret.width()).arg(caret.height())
        .arg(candidates.x()).arg(candidates.y()).toStdString();
}

class InputMethod : public AppTest {
protected:
    void SetUp() override {
        // The keys go to whatever display this is: never a person's desktop.
        if (qEnvironmentVariable("MARKWISE_IME_DISPLAY") != QLatin1String("1"))
            GTEST_SKIP() << "runs only on the display run_input_method_test.sh makes";
        AppTest::SetUp();
    }

    // Focuses w and waits until the input method serves it with pinyin.
    void Focus(QWidget* w) {
        w->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(WaitFor([w] { return w->hasFocus(); }));
        ASSERT_TRUE(WaitFor([] { return RunProgram(QStringLiteral("fcitx5-remote"), {"-n"}) == QLatin1String("pinyin"); }))
            << "fcitx5 never served the focused edit with pinyin";
    }

    // Types pinyin, checks the candidate window against the caret, then
    // picks the first candidate with Space.
    void Compose(QWidget* w, const QString& pinyin) {
        PreeditWatch watch(w);
        Keys({"type", "--delay", "30", pinyin});
        ASSERT_TRUE(WaitFor([&] { return QString(watch.preedit).remove(' ') == pinyin; }))
            << "preedit: " << watch.preedit.toStdString();
        const QRect caret = w->inputMethodQuery(Qt::ImCursorRectangle).toRect().translated(w->mapToGlobal(QPoint(0, 0)));
        std::optional<QRect> candidates;
        ASSERT_TRUE(WaitFor([&] { return (candidates = CandidateWindow()).has_value(); }));
        // The window opens just below the caret, not at a corner of the window.
        const std::string where = Describe(caret, *candidates);
        EXPECT_LE(std::abs(candidates->left() - caret.left()), 12) << where;
        EXPECT_GE(candidates->top(), caret.bottom() - 2) << where;
        EXPECT_LE(candidates->top(), caret.bottom() + 12) << where;
        Keys({"key", "space"});
        ASSERT_TRUE(WaitFor([&] { return watch.preedit.isEmpty() && !CandidateWindow(); }));
    }
};

}  // namespace

TEST_F(InputMethod, PinyinIntoTheCourseName) {
    form->SkSkinPageControl1->SetActivePageIndex(0);
    ASSERT_NO_FATAL_FAILURE(Focus(form->edtclassname));
    ASSERT_NO_FATAL_FAILURE(Compose(form->edtclassname, QStringLiteral("shuxue")));
    ASSERT_TRUE(WaitFor([&] { return form->edtclassname->Text() == QStringLiteral("数学"); }))
        << form->edtclassname->Text().toStdString();
}

TEST_F(InputMethod, PinyinIntoEveryTextEditAndTheMemo) {
    form->SkSkinPageControl1->SetActivePageIndex(0);
    for (TSkSkinEdit* edit : {form->edtteacher, form->edtclass}) {
        edit->SetText(QStringLiteral("高等"));
        edit->setCursorPosition(2);
        ASSERT_NO_FATAL_FAILURE(Focus(edit));
        ASSERT_NO_FATAL_FAILURE(Compose(edit, QStringLiteral("shuxue")));
        ASSERT_TRUE(WaitFor([&] { return edit->Text() == QStringLiteral("高等数学"); })) << edit->Name().toStdString() << ": " << edit->Text().toStdString();
    }
    form->SkSkinPageControl1->SetActivePageIndex(3);
    ASSERT_NO_FATAL_FAILURE(Focus(form->mmadvice));
    ASSERT_NO_FATAL_FAILURE(Compose(form->mmadvice, QStringLiteral("jiaoxue")));
    ASSERT_TRUE(WaitFor([&] { return form->mmadvice->Text() == QStringLiteral("教学"); })) << form->mmadvice->Text().toStdString();
    EXPECT_TRUE(dialogs.messages.empty());
}
