#include "TFilterFileCommands.h"

#include "TFilterFile.h"
#include "TMessages.h"

#include <QFileDialog>
#include <QFileInfo>

QString TFilterFileCommands::saveDialog(QWidget *parent, const QString &folder)
{
    QFileDialog dialog(parent, QString(), folder, QStringLiteral("Filter files (*.FLT *.flt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("FLT"));
    // The question before replacing a file is asked by SaveFilter, with its own caption.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(QStringLiteral("*.") + QStringLiteral("FLT"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString TFilterFileCommands::openDialog(QWidget *parent, const QString &folder)
{
    QFileDialog dialog(parent, QString(), folder, QStringLiteral("Filter Files (*.flt *.FLT)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("FLT"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

bool TFilterFileCommands::SaveFilter(QWidget *parent, const TFilterCriteria &criteria, const QString &folder,
                                     const Chooser &choose)
{
    const QString chosen = choose ? choose(parent, folder) : saveDialog(parent, folder);
    if (chosen.isEmpty())
        return false;
    QString message;
    const QString path = TFilterFile::saveName(chosen, &message);
    if (path.isEmpty()) {
        TMessages::information(parent, message);
        return false;
    }
    if (QFileInfo::exists(path) &&
        !TMessages::question(parent, QStringLiteral("Warning!"), TFilterFile::overwriteQuestion(path),
                             QMessageBox::No))
        return false;
    if (!TFilterFile::SaveFilterTo(path, criteria, &message)) {
        TMessages::information(parent, message);
        return false;
    }
    return true;
}

bool TFilterFileCommands::RestoreFilter(QWidget *parent, TFilterCriteria &criteria, const QString &folder,
                                        const Chooser &choose)
{
    const QString chosen = choose ? choose(parent, folder) : openDialog(parent, folder);
    if (chosen.isEmpty())
        return false;
    QString message;
    if (!TFilterFile::isRestorable(chosen, &message) ||
        !TFilterFile::RestoreFilterFrom(chosen, criteria, &message)) {
        TMessages::information(parent, message);
        return false;
    }
    return true;
}
