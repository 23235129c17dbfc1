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

QString TMessages::failureText(const TResult &result, const QString &fallback)
{
    QString lead;
    switch (result.code) {
    case xbase::StatusCode::Locked:
        lead = QStringLiteral("The file is in use by another program or user.");
        break;
    case xbase::StatusCode::Corruption:
        lead = QStringLiteral("The file is damaged. Rebuilding its indexes may repair it.");
        break;
    case xbase::StatusCode::IoError:
        lead = QStringLiteral("The file could not be read or written. The disk may be full, or the file read-only.");
        break;
    default:
        break;
    }
    const QString detail = result.message.isEmpty() ? fallback : result.message;
    if (lead.isEmpty())
        return detail;
    return detail.isEmpty() ? lead : lead + QStringLiteral("\r\n\r\n") + detail;
}

void TMessages::failure(QWidget *parent, const TResult &result, const QString &fallback)
{
    information(parent, failureText(result, fallback));
}
