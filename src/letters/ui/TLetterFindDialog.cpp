#include "TLetterFindDialog.h"

#include "THelpRequest.h"

#include "TLetterFind.h"
#include "TMessages.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3302;

TLetterFindDialog::TLetterFindDialog(QTextEdit *text, bool replacing, QWidget *parent)
    : QDialog(parent), m_text(text)
{
    setObjectName(QStringLiteral("TLetterFindDialog"));
    setWindowTitle(replacing ? QStringLiteral("Replace") : QStringLiteral("Find"));
    FindText = new QLineEdit(text->textCursor().selectedText(), this);
    FindText->setObjectName(QStringLiteral("FindText"));
    ReplaceText = new QLineEdit(this);
    ReplaceText->setObjectName(QStringLiteral("ReplaceText"));
    MatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    WholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    FindNextButton = new QPushButton(QStringLiteral("&Find Next"), this);
    FindNextButton->setObjectName(QStringLiteral("FindNextButton"));
    FindNextButton->setDefault(true);
    ReplaceButton = new QPushButton(QStringLiteral("&Replace"), this);
    ReplaceButton->setObjectName(QStringLiteral("ReplaceButton"));
    ReplaceAllButton = new QPushButton(QStringLiteral("Replace &All"), this);
    ReplaceAllButton->setObjectName(QStringLiteral("ReplaceAllButton"));
    CloseButton = new QPushButton(QStringLiteral("Cancel"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Fi&nd what:"), FindText);
    if (replacing)
        form->addRow(QStringLiteral("Re&place with:"), ReplaceText);
    form->addRow(MatchCase);
    form->addRow(WholeWord);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(FindNextButton);
    buttons->addWidget(ReplaceButton);
    buttons->addWidget(ReplaceAllButton);
    buttons->addWidget(CloseButton);
    buttons->addStretch();
    ReplaceText->setVisible(replacing);
    ReplaceButton->setVisible(replacing);
    ReplaceAllButton->setVisible(replacing);
    auto *main = new QHBoxLayout(this);
    main->addLayout(form, 1);
    main->addLayout(buttons);

    connect(FindNextButton, &QPushButton::clicked, this, [this] { (void)FindNextClick(); });
    connect(ReplaceButton, &QPushButton::clicked, this, &TLetterFindDialog::ReplaceClick);
    connect(ReplaceAllButton, &QPushButton::clicked, this, &TLetterFindDialog::ReplaceAllClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

int TLetterFindDialog::flags() const
{
    QTextDocument::FindFlags f;
    if (MatchCase->isChecked())
        f |= QTextDocument::FindCaseSensitively;
    if (WholeWord->isChecked())
        f |= QTextDocument::FindWholeWords;
    return static_cast<int>(f);
}

bool TLetterFindDialog::FindNextClick()
{
    if (FindText->text().isEmpty())
        return false;
    const QTextCursor found =
        m_text->document()->find(FindText->text(), m_text->textCursor(), QTextDocument::FindFlags(flags()));
    if (found.isNull()) {
        TMessages::information(this, QStringLiteral("Search string '") + FindText->text() +
                                         QStringLiteral("' not found"));
        return false;
    }
    m_text->setTextCursor(found);
    return true;
}

void TLetterFindDialog::ReplaceClick()
{
    QTextCursor cursor = m_text->textCursor();
    const Qt::CaseSensitivity cs = MatchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (cursor.hasSelection() && cursor.selectedText().compare(FindText->text(), cs) == 0) {
        cursor.insertText(ReplaceText->text());
        m_text->setTextCursor(cursor);
    }
    (void)FindNextClick();
}

void TLetterFindDialog::ReplaceAllClick()
{
    const int count = TLetterFind::replaceAll(*m_text->document(), FindText->text(), ReplaceText->text(),
                                              QTextDocument::FindFlags(flags()));
    if (count == 0)
        TMessages::information(this, QStringLiteral("Search string '") + FindText->text() +
                                         QStringLiteral("' not found"));
}
