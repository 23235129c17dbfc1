#include "TMessages.h"

#include <QMessageBox>

TMessages::Answerer TMessages::s_answerer;

QMessageBox::StandardButton TMessages::show(const TMessageRequest &request)
{
    if (s_answerer)
        return s_answerer(request);
    QMessageBox box(request.icon, request.caption, request.text, request.buttons, request.parent);
    box.setDefaultButton(request.defaultButton);
    const int result = box.exec();
    const auto button = static_cast<QMessageBox::StandardButton>(result);
    if (request.buttons.testFlag(button))
        return button;
    if (request.buttons.testFlag(QMessageBox::Cancel))
        return QMessageBox::Cancel;
    if (request.buttons.testFlag(QMessageBox::No))
        return QMessageBox::No;
    return QMessageBox::Ok;
}

TMessages::Answerer TMessages::setAnswerer(Answerer answerer)
{
    Answerer previous = std::move(s_answerer);
    s_answerer = std::move(answerer);
    return previous;
}

void TMessages::information(QWidget *parent, const QString &text)
{
    show({parent, QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok,
          QMessageBox::Ok});
}

bool TMessages::question(QWidget *parent, const QString &caption, const QString &text,
                         QMessageBox::StandardButton defaultButton)
{
    return show({parent, QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                 defaultButton}) == QMessageBox::Yes;
}

QMessageBox::StandardButton TMessages::questionWithCancel(QWidget *parent, const QString &caption,
                                                          const QString &text,
                                                          QMessageBox::StandardButton defaultButton)
{
    return show({parent, QMessageBox::Question, caption, text,
                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, defaultButton});
}

void TMessages::warning(QWidget *parent, const QString &caption, const QString &text)
{
    show({parent, QMessageBox::Warning, caption, text, QMessageBox::Ok, QMessageBox::Ok});
}
