#pragma once
// The real main window, shown and active, with dialogs a test answers.
#include "main_window.h"
#include "scripted_dialogs.h"

#include <QApplication>
#include <QDate>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Keys go where a person's keys would go: to the focused widget.
    void Type(const QString& text);
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier);
    void FocusScoreGrid();
    void ClickCell(int row);
    // Fills score cells directly, rows from 1.
    void SetScores(const QStringList& scores);
    QString Result(int col, int row) const;
    // The score cells of rows from to to.
    QStringList ScoreCells(int from, int to) const;
    // The import command with the file dialog answered by path.
    void ImportFile(const QString& path);
    // Runs then once w is on the screen, from inside whatever (modal) loop
    // shows it; gives up after a while, so a window that never comes leaves
    // then unrun.
    void WhenShown(QWidget* w, std::function<void()> then);
    // Runs act on the next modal dialog of type T once it shows. A read off
    // the event loop may turn it before the dialog opens, so this waits for
    // the dialog rather than for the first turn.
    template <class T>
    void OnDialog(std::function<void(T*)> act) {
        auto timer = std::make_unique<QTimer>();
        QTimer* t = timer.get();
        QObject::connect(t, &QTimer::timeout, [t, act] {
            if (auto* d = qobject_cast<T*>(QApplication::activeModalWidget())) {
                t->stop();
                act(d);
            }
        });
        t->start(5);
        waits_.push_back(std::move(timer));
    }

    QDate createdOn;  // the day the window was made
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm2> help;
    std::unique_ptr<TForm1> form;

private:
    std::vector<std::unique_ptr<QTimer>> waits_;
};
