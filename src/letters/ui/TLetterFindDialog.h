// The designer's "Find" and "Replace" dialogs on its text: find the next occurrence from the
// cursor, replace the found one, or replace them all. Created by the designer for one use.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTextEdit;

class TLetterFindDialog : public QDialog
{
    Q_OBJECT
public:
    // `replacing` shows the replace controls ("Replace"), else only finding ("Find").
    TLetterFindDialog(QTextEdit *text, bool replacing, QWidget *parent = nullptr);

    QLineEdit *FindText;
    QLineEdit *ReplaceText;
    QCheckBox *MatchCase;
    QCheckBox *WholeWord;
    QPushButton *FindNextButton;
    QPushButton *ReplaceButton;
    QPushButton *ReplaceAllButton;
    QPushButton *CloseButton;

public slots:
    // Selects the next occurrence after the cursor; false (with a message) when there is none.
    bool FindNextClick();
    void ReplaceClick();
    void ReplaceAllClick();

private:
    int flags() const;
    QTextEdit *m_text;
};
