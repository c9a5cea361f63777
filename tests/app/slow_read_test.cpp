// An import from a deliberately slow source (a pipe fed a line at a time):
// the window goes on painting and answering nothing but the cancel, and a
// cancelled read changes nothing.
#include "app_fixture.h"

#include "busy_work.h"
#include "framed_grid.h"
#include "skin_controls.h"
#include "skin_menu.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <sys/stat.h>
#include <thread>
#include <fcntl.h>
#include <unistd.h>

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;
protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

class SlowRead : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        std::signal(SIGPIPE, SIG_IGN);
        fifo = dir.filePath("slow.csv");
        ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    }
    void TearDown() override {
        release = true;
        if (writer.joinable()) writer.join();
        AppTest::TearDown();
    }
    // Feeds the pipe line by line; with holdAfter, waits for release after that many lines.
    void Feed(int lines, int holdAfter = -1) {
        writer = std::thread([this, lines, holdAfter] {
            const int fd = open(fifo.toLocal8Bit().constData(), O_WRONLY);
            if (fd < 0) return;
            const auto put = [fd](const QByteArray& b) { return write(fd, b.constData(), size_t(b.size())) == b.size(); };
            put("成绩\n");
            for (int k = 0; k < lines; ++k) {
                if (k == holdAfter)
                    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(10));
                if (!put(QByteArray::number(60 + k % 40) + "\n")) break;
                std::this_thread::sleep_for(std::chrono::milliseconds(40));
            }
            close(fd);
        });
    }
    QTemporaryDir dir;
    QString fifo;
    std::thread writer;
    std::atomic<bool> release{false};
};

TEST_F(SlowRead, TheWindowPaintsWhileTheFileComesIn) {
    Feed(30);  // about 1.2 s
    PaintCounter counter;
    form->installEventFilter(&counter);
    int turns = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        ++turns;
        form->update();
        // What a person clicks meanwhile goes nowhere: no second command.
        if (turns == 3) QTest::mouseClick(form->btnAnalyse, Qt::LeftButton);
    });
    tick.start(20);
    ImportFile(fifo);
    tick.stop();
    form->removeEventFilter(&counter);
    EXPECT_GT(turns, 10);
    EXPECT_GT(counter.paints, 5);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    EXPECT_EQ(form->strgrdscore->Cells(0, 30), "89");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SlowRead, ALongReadCanBeCancelledAndChangesNothing) {
    SetScores({"77"});
    Feed(30, 5);
    bool offered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* progress = form->findChild<QProgressDialog*>("busyProgress");
        if (!progress || !progress->isVisible()) return;
        offered = true;
        poll.stop();
        const QString dirName = qEnvironmentVariable("MARKWISE_SHOT_DIR");
        if (!dirName.isEmpty()) form->window()->grab().save(dirName + "/import_busy.png");
        progress->cancel();
    });
    poll.start(50);
    ImportFile(fifo);
    poll.stop();
    EXPECT_TRUE(offered);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.Texts().join('|').toStdString();
    EXPECT_EQ(ScoreCells(1, 2), (QStringList{"77", ""}));
    // The abandoned read ends by itself once its source does.
    release = true;
    writer.join();
    QTest::qWait(100);
    EXPECT_EQ(ScoreCells(1, 2), (QStringList{"77", ""}));
}

TEST(BusyWork, AnErrorOfTheWorkReachesTheCaller) {
    EXPECT_THROW(RunBusy(nullptr, QStringLiteral("x"), [](const std::atomic<bool>&) { throw std::runtime_error("no"); }),
                 std::runtime_error);
    EXPECT_EQ(RunBusyFor<int>(nullptr, QStringLiteral("x"), [](const std::atomic<bool>&) { return 7; }), 7);
}
