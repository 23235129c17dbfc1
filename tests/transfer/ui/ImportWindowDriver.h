// Helpers of the import window tests: message boxes collected instead of shown, and a field
// chosen in a match window through its "&Select Field" menu, as a user does.
#pragma once

#include "TMatchWindow.h"
#include "TMessages.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

// Collects every message box instead of showing it.
struct Boxes {
    Boxes()
    {
        TMessages::setAnswerer([this](const TMessageRequest &r) {
            texts << r.text;
            return answer;
        });
    }
    ~Boxes() { TMessages::setAnswerer({}); }
    QStringList texts;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
};

// Chooses `name` for the match grid's `row` through the "&Select Field" menu.
inline void chooseThroughMenu(TMatchWindow *w, int row, const QString &name)
{
    w->MatchGrid->setCurrentCell(row, 1);
    QObject::connect(w, &TMatchWindow::menuShown, w, [name](QMenu *menu) {
        QTimer::singleShot(0, menu, [menu, name] {
            for (QAction *a : menu->actions())
                if (a->text() == name)
                    menu->setActiveAction(a);
            QTest::keyClick(menu, Qt::Key_Return);
        });
    }, Qt::SingleShotConnection);
    QTest::mouseClick(w->SelectFieldButton, Qt::LeftButton);
}

// The match grid's row that shows `caption`, or -1.
inline int rowOf(TMatchWindow *w, const QString &caption)
{
    for (int r = 0; r < w->MatchGrid->rowCount(); ++r)
        if (w->MatchGrid->item(r, 0) && w->MatchGrid->item(r, 0)->text() == caption)
            return r;
    return -1;
}
