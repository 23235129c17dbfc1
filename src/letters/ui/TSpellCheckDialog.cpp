#include "TSpellCheckDialog.h"

#include "THelpRequest.h"

#include "TLetterFind.h"
#include "TMessages.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3305;

namespace {

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TSpellCheckDialog::TSpellCheckDialog(QTextEdit *text, const QString &mainDictionary,
                                     const QString &userDictionary, QWidget *parent)
    : QDialog(parent), m_text(text)
{
    setObjectName(QStringLiteral("TSpellCheckDialog"));
    setWindowTitle(QStringLiteral("Spell Check"));
    setModal(true);
    (void)m_checker.openMain(mainDictionary); // without it every word is reported; the designer checks first
    const bool canAdd = m_checker.openUser(userDictionary);

    NotFound = new QLabel(this);
    NotFound->setObjectName(QStringLiteral("NotFound"));
    Suggestions = new QListWidget(this);
    Suggestions->setObjectName(QStringLiteral("Suggestions"));
    ReplaceWith = new QLineEdit(this);
    ReplaceWith->setObjectName(QStringLiteral("ReplaceWith"));
    ReplaceButton = button(QStringLiteral("Replace "), "ReplaceButton", this);
    ReplaceAllButton = button(QStringLiteral("Replace &All"), "ReplaceAllButton", this);
    SkipButton = button(QStringLiteral("&Skip Word"), "SkipButton", this);
    IgnoreAllButton = button(QStringLiteral("&Ignore All"), "IgnoreAllButton", this);
    AddButton = button(QStringLiteral("&Add Word"), "AddButton", this);
    AddButton->setEnabled(canAdd);
    CancelButton = button(QStringLiteral("Cancel"), "CancelButton", this);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Possible spelling error"), this), 0, 0);
    grid->addWidget(NotFound, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Replace with"), this), 2, 0);
    grid->addWidget(ReplaceWith, 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("Possible replacements"), this), 4, 0);
    grid->addWidget(Suggestions, 5, 0, 6, 1);
    int row = 0;
    for (QPushButton *b :
         {ReplaceButton, ReplaceAllButton, SkipButton, IgnoreAllButton, AddButton, CancelButton})
        grid->addWidget(b, row++, 1);

    connect(ReplaceButton, &QPushButton::clicked, this, &TSpellCheckDialog::ReplaceButtonClick);
    connect(ReplaceAllButton, &QPushButton::clicked, this, &TSpellCheckDialog::ReplaceAllButtonClick);
    connect(SkipButton, &QPushButton::clicked, this, &TSpellCheckDialog::SkipButtonClick);
    connect(IgnoreAllButton, &QPushButton::clicked, this, &TSpellCheckDialog::IgnoreAllButtonClick);
    connect(AddButton, &QPushButton::clicked, this, &TSpellCheckDialog::AddButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(Suggestions, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { ReplaceWith->setText(item->text()); });
    connect(Suggestions, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { ReplaceWith->setText(item->text()); });
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

void TSpellCheckDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        // After the dialog is on the screen, so the end-of-text box stands over it.
        QTimer::singleShot(0, this, [this] { findNext(0); });
    }
}

void TSpellCheckDialog::findNext(int from)
{
    if (m_finished)
        return;
    TSpellWord word = TSpellWords::next(*m_text->document(), from);
    while (word.isValid() && m_checker.isCorrect(word.text))
        word = TSpellWords::next(*m_text->document(), word.position + word.length);
    m_word = word;
    if (!word.isValid()) {
        m_finished = true;
        hide();
        TMessages::information(parentWidget(), QStringLiteral("Spell check complete"));
        QTimer::singleShot(0, this, [this] { accept(); });
        return;
    }
    const QStringList suggestions = m_checker.suggestions(word.text);
    Suggestions->clear();
    Suggestions->addItems(suggestions);
    QTextCursor cursor(m_text->document());
    cursor.setPosition(word.position);
    cursor.setPosition(word.position + word.length, QTextCursor::KeepAnchor);
    m_text->setTextCursor(cursor);
    m_text->ensureCursorVisible();
    NotFound->setText(word.text);
    ReplaceWith->setText(suggestions.isEmpty() ? word.text : suggestions.first());
}

void TSpellCheckDialog::ReplaceButtonClick()
{
    if (!m_word.isValid())
        return;
    QTextCursor cursor = m_text->textCursor();
    const QString with = ReplaceWith->text();
    cursor.insertText(with);
    findNext(m_word.position + static_cast<int>(with.size()));
    m_text->viewport()->update();
}

void TSpellCheckDialog::ReplaceAllButtonClick()
{
    if (!m_word.isValid())
        return;
    const QString with = ReplaceWith->text();
    const int position = m_word.position;
    (void)TLetterFind::replaceAll(*m_text->document(), m_word.text, with,
                                  QTextDocument::FindWholeWords | QTextDocument::FindCaseSensitively);
    if (with != m_word.text)
        m_checker.ignoreAll(with); // what the user chose is not asked about again
    findNext(position + static_cast<int>(with.size()));
    m_text->viewport()->update();
}

void TSpellCheckDialog::SkipButtonClick()
{
    if (m_word.isValid())
        findNext(m_word.position + m_word.length);
}

void TSpellCheckDialog::IgnoreAllButtonClick()
{
    if (!m_word.isValid())
        return;
    m_checker.ignoreAll(m_word.text);
    findNext(m_word.position + m_word.length);
}

void TSpellCheckDialog::AddButtonClick()
{
    if (!m_word.isValid())
        return;
    if (!m_word.text.isEmpty() && !m_checker.addWord(m_word.text))
        TMessages::information(this, QStringLiteral("The word could not be added to the user dictionary"));
    findNext(m_word.position + m_word.length);
}

void TSpellCheckDialog::done(int result)
{
    // Nothing stays selected in the text.
    QTextCursor cursor = m_text->textCursor();
    cursor.clearSelection();
    m_text->setTextCursor(cursor);
    QDialog::done(result);
}
