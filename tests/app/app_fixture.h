#pragma once
// The real main window, shown and active, with dialogs a test answers.
#include "main_window.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>
#include <QDate>
#include <functional>
#include <memory>

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

    QDate createdOn;  // the day the window was made
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm2> help;
    std::unique_ptr<TForm1> form;
};
