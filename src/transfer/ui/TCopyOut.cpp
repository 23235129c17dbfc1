#include "TCopyOut.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TAddressTable.h"
#include "TMessages.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3801;

TCopyOut::TCopyOut(TAddressTable &table, const QString &programFolder, QWidget *parent)
    : QDialog(parent), m_table(table), m_folder(programFolder)
{
    setWindowTitle(QStringLiteral("Copy Records Out"));
    auto *layout = new QVBoxLayout(this);
    DbfChoice = new QRadioButton(QStringLiteral("Copy to a &DBF file"), this);
    AsciiChoice = new QRadioButton(QStringLiteral("Copy to an &ASCII file (comma delimited)"), this);
    VCardChoice = new QRadioButton(QStringLiteral("Copy to a &vCard file"), this);
    DbfChoice->setChecked(true);
    for (QRadioButton *r : {DbfChoice, AsciiChoice, VCardChoice}) {
        layout->addWidget(r);
        connect(r, &QRadioButton::toggled, this, [this](bool) { m_file = QStringLiteral("(none)"); });
    }
    auto *buttons = new QHBoxLayout;
    SaveAsButton = new QPushButton(QStringLiteral("Save As"), this);
    Cancelbutton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    for (QPushButton *b : {SaveAsButton, Cancelbutton, HelpButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    ProgressPanel = new QWidget(this);
    auto *panel = new QVBoxLayout(ProgressPanel);
    CopyingLabel = new QLabel(ProgressPanel);
    Gauge = new QProgressBar(ProgressPanel);
    Gauge->setRange(0, 100);
    panel->addWidget(CopyingLabel);
    panel->addWidget(Gauge);
    ProgressPanel->hide();
    layout->addWidget(ProgressPanel);
    connect(SaveAsButton, &QPushButton::clicked, this, &TCopyOut::SaveAsButtonClick);
    connect(Cancelbutton, &QPushButton::clicked, this, &TCopyOut::CancelbuttonClick);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {DbfChoice, "Copies the records to a new DBF table with the address fields."},
             {AsciiChoice, "Copies the records to a text file, one record a line, the values separated by commas."},
             {VCardChoice, "Copies the records to a file of contact cards."},
             {SaveAsButton, "Asks for the new file's name and copies the records the filter shows."},
             {Cancelbutton, "Closes the window, or stops a copy after asking."},
             {HelpButton, "Opens the help page about copying records out."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TCopyOut::SaveAsButtonClick()
{
    const bool dbf = DbfChoice->isChecked();
    const QString ext = dbf ? QStringLiteral("DBF") : VCardChoice->isChecked() ? QStringLiteral("VCF") : QStringLiteral("TXT");
    QString chosen;
    if (m_chooser) {
        chosen = m_chooser();
    } else {
        const QString filter = dbf ? QStringLiteral("DBF files (*.DBF *.dbf)")
                               : VCardChoice->isChecked() ? QStringLiteral("vCard files (*.VCF *.vcf)")
                                                          : QStringLiteral("Text files (*.TXT *.txt)");
        const QString folder = QDir::currentPath();
        QFileDialog dialog(this, windowTitle(), m_folder, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite); // asked below, with No the default
        dialog.setDefaultSuffix(ext);
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.selectedFiles().value(0);
        QDir::setCurrent(folder);
    }
    if (chosen.isEmpty()) {
        m_file = QStringLiteral("(none)");
        return;
    }
    m_folder = QFileInfo(chosen).absolutePath();
    const TResult refused = TCopyOutRun::check(chosen, m_table.path(), dbf);
    if (!refused.ok) {
        TMessages::information(this, refused.message);
        return;
    }
    if (QFileInfo::exists(chosen) &&
        !TMessages::question(this, QStringLiteral("Warning!"),
                             chosen + QStringLiteral(" already exists.") + QStringLiteral("\r\n") +
                                 QStringLiteral("Do you want to overwrite it?"),
                             QMessageBox::No))
        return;
    m_file = chosen;
    DoTheCopyMan();
}

void TCopyOut::DoTheCopyMan()
{
    for (QWidget *w : {static_cast<QWidget *>(DbfChoice), static_cast<QWidget *>(AsciiChoice),
                       static_cast<QWidget *>(VCardChoice), static_cast<QWidget *>(HelpButton),
                       static_cast<QWidget *>(SaveAsButton)})
        w->hide();
    CopyingLabel->setText(QStringLiteral("Copying to ") + m_file);
    ProgressPanel->show();
    m_copying = true;
    m_cancel = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (DbfChoice->isChecked())
        m_outcome = TCopyOutRun::CopyDBF(m_table, m_file, *this);
    else if (VCardChoice->isChecked())
        m_outcome = TCopyOutRun::CopyVCard(m_table, m_file, *this);
    else
        m_outcome = TCopyOutRun::CopyASCII(m_table, m_file, *this);
    QApplication::restoreOverrideCursor();
    m_copying = false;
    if (!m_outcome.result.ok)
        TMessages::failure(this, m_outcome.result, QStringLiteral("There was an error copying"));
    QDialog::accept();
}

void TCopyOut::step()
{
    ++m_done;
    if (m_total > 0)
        Gauge->setValue(static_cast<int>(static_cast<qint64>(m_done) * 100 / m_total));
    QApplication::processEvents();
}

void TCopyOut::CancelbuttonClick()
{
    if (!m_copying) {
        QDialog::reject();
        return;
    }
    if (TMessages::question(this, QStringLiteral("Cancel"), QStringLiteral("Cancel copy?"), QMessageBox::No))
        m_cancel = true;
}

void TCopyOut::reject()
{
    CancelbuttonClick();
}
