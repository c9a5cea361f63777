#include "app_fixture.h"

#include "application.h"
#include "framed_grid.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

void AppTest::SetUp() {
    // The recent files and recovery files of this test program, never the teacher's.
    static QTemporaryDir home(QDir::tempPath() + "/markwise-app-tests-XXXXXX");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
    QFile::remove(TRecentFiles::DefaultPath());
    // The window's own tests start no office; the report tests drive real ones.
    TWordApplication::Settings().program = QStringLiteral("/nonexistent/soffice");
    Application().SetTitle(QStringLiteral("Markwise2006版"));
    createdOn = QDate::currentDate();
    help = std::make_unique<TForm2>();
    form = std::make_unique<TForm1>(help.get());
    Application().SetMainForm(form.get());
    form->show();
    form->CompleteLoading();  // as the program does once the window is up
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
}

void AppTest::TearDown() {
    waits_.clear();
    Application().SetMainForm(nullptr);
    form.reset();
    help.reset();
}

void AppTest::Type(const QString& text) {
    for (QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        if (c == '\t') QTest::keyClick(target, Qt::Key_Tab);
        else if (c == '\r') QTest::keyClick(target, Qt::Key_Return);
        else QTest::keyClick(target, c.toLatin1());
    }
}

void AppTest::Key(Qt::Key key, Qt::KeyboardModifiers mods) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, mods);
}

void AppTest::FocusScoreGrid() {
    form->SkSkinPageControl1->SetActivePageIndex(4);
    form->strgrdscore->setFocus();
    QApplication::processEvents();
}

void AppTest::ClickCell(int row) {
    const QRect r = form->strgrdscore->CellRect(0, row);
    QTest::mouseClick(form->strgrdscore->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
}

void AppTest::SetScores(const QStringList& scores) {
    for (int i = 0; i < scores.size(); ++i) form->strgrdscore->SetCells(0, i + 1, scores[i]);
}

QString AppTest::Result(int col, int row) const { return form->sgrdAnalyse->Cells(col, row); }

QStringList AppTest::ScoreCells(int from, int to) const {
    QStringList out;
    for (int r = from; r <= to; ++r) out << form->strgrdscore->Cells(0, r);
    return out;
}

void AppTest::ImportFile(const QString& path) {
    dialogs.openAnswers.push_back(path);
    form->MbImport->Click();
}

void AppTest::WhenShown(QWidget* w, std::function<void()> then) {
    auto* poll = new QTimer(w);
    poll->setInterval(10);
    const QDeadlineTimer deadline(20000);
    QObject::connect(poll, &QTimer::timeout, w, [w, poll, deadline, then = std::move(then)] {
        if (w->isVisible()) {
            poll->deleteLater();
            poll->stop();
            then();
        } else if (deadline.hasExpired()) {
            poll->deleteLater();
            poll->stop();
        }
    });
    poll->start();
}
