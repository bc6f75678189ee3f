#pragma once

// What a user does in the main window to put a menu together, with clicks and keys: an entry
// added from the folder tree, the auto-start program chosen in its panel.

#include "Controls.h"
#include "UserInput.h"

#include "widgets/ChoiceList.h"
#include "widgets/FolderTree.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace MenuInput {

// The file at path clicked in the folder tree and added with Dodaj under the caption typed
// over the suggestion; false when the tree has no such entry.
inline bool addItem(const QWidget &window, const QString &path, const QString &caption)
{
    if (!UserInput::clickPath(named<FolderTree>(window, "dfsSystemTreeView1"), path))
        return false;
    QTest::mouseClick(named<QPushButton>(window, "sb_Dodaj"), Qt::LeftButton);
    UserInput::typeOver(named<QComboBox>(window, "cb_NazwaPozycji")->lineEdit(), caption);
    QTest::mouseClick(named<QPushButton>(window, "sb_Add_OK"), Qt::LeftButton);
    return true;
}

// The auto-start panel opened, program clicked in its list of programs, then OK; false when
// the list has no such program.
inline bool chooseProgram(const QWidget &window, const QString &program)
{
    QTest::mouseClick(named<QToolButton>(window, "sb_AutoRun"), Qt::LeftButton);
    ChoiceList *programs = named<ChoiceList>(window, "lb_Programy");
    const int row = UserInput::rowOf(programs, program);
    if (row < 0)
        return false;
    UserInput::clickRow(programs, row);
    QTest::mouseClick(named<QPushButton>(window, "sb_Auto_OK"), Qt::LeftButton);
    return true;
}

} // namespace MenuInput
