#include "TGMultiLineTextDialog.h"

#include "THelpRequest.h"

#include "TGMultiLineLabel.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3501;

TGMultiLineTextDialog::TGMultiLineTextDialog(TGMultiLineLabel *object, QWidget *parent)
    : TGPropertyDialog(QStringLiteral("Multi-line Text Editor"), parent), m_object(object)
{
    TextMemo = new QPlainTextEdit(this);
    TextMemo->setObjectName(QStringLiteral("TextMemo"));
    TextMemo->setFont(object->Font().qtFont(logicalDpiY()));
    TextMemo->setPlainText(object->Items().join(QLatin1Char('\n')).left(TGMultiLineLabel::kMaxTextLength));
    fields()->addWidget(TextMemo);
    connect(TextMemo, &QPlainTextEdit::textChanged, this, &TGMultiLineTextDialog::keepWithinLimit);
    TextMemo->setFocus();
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TGMultiLineTextDialog::keepWithinLimit()
{
    const QString text = TextMemo->toPlainText();
    if (text.size() <= TGMultiLineLabel::kMaxTextLength)
        return;
    const int position = TextMemo->textCursor().position();
    const QSignalBlocker block(TextMemo);
    TextMemo->setPlainText(text.left(TGMultiLineLabel::kMaxTextLength));
    QTextCursor cursor = TextMemo->textCursor();
    cursor.setPosition(std::min(position, TGMultiLineLabel::kMaxTextLength));
    TextMemo->setTextCursor(cursor);
}

void TGMultiLineTextDialog::accept()
{
    const QString text = TextMemo->toPlainText();
    m_object->ChooseText(text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')));
    TGPropertyDialog::accept();
}
