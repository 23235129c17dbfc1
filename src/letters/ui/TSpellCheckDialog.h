// The "Spell Check" dialog: walks the designer's text from its start, reports each word the
// spelling engine does not know with its suggestions, and replaces, skips, ignores or adds
// it. Created by the designer for one check; it closes itself at the end of the text.
#pragma once

#include "TSpellChecker.h"
#include "TSpellWords.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;

class TSpellCheckDialog : public QDialog
{
    Q_OBJECT
public:
    // Checks `text` (which must outlive the dialog) with the main dictionary `mainDictionary`
    // and the user's word list `userDictionary`, created empty when missing.
    TSpellCheckDialog(QTextEdit *text, const QString &mainDictionary, const QString &userDictionary,
                      QWidget *parent = nullptr);

    // The word reported now (empty before the first and after the last).
    QString reportedWord() const { return m_word.text; }

    QLabel *NotFound;
    QListWidget *Suggestions;
    QLineEdit *ReplaceWith;
    QPushButton *ReplaceButton;
    QPushButton *ReplaceAllButton;
    QPushButton *SkipButton;
    QPushButton *IgnoreAllButton;
    QPushButton *AddButton;
    QPushButton *CancelButton;

public slots:
    void ReplaceButtonClick();
    void ReplaceAllButtonClick();
    void SkipButtonClick();
    void IgnoreAllButtonClick();
    void AddButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    // Reports the next word the engine does not know after `from`, or ends the check.
    void findNext(int from);

    QTextEdit *m_text;
    TSpellChecker m_checker;
    TSpellWord m_word;
    bool m_started = false;
    bool m_finished = false;
};
