#include "TImportWindow.h"

#include "TWhatsThis.h"

#include "TMessages.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

TImportWindow::TImportWindow(const QString &caption, const QString &nameCaption, const QString &selectCaption,
                             QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    FileNameCaption = new QLabel(nameCaption, this);
    FileNameLabel = new QLabel(QStringLiteral("(none)"), this);
    layout->addWidget(FileNameCaption);
    layout->addWidget(FileNameLabel);
    auto *buttons = new QHBoxLayout;
    SelectButton = new QPushButton(selectCaption, this);
    MatchButton = new QPushButton(QStringLiteral("Match Fields"), this);
    ImportButton = new QPushButton(QStringLiteral("Import"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    for (QPushButton *b : {SelectButton, MatchButton, ImportButton, CancelButton, HelpButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    StatusLabel = new QLabel(this);
    Gauge = new QProgressBar(this);
    Gauge->setRange(0, 100);
    Gauge->hide();
    layout->addWidget(StatusLabel);
    layout->addWidget(Gauge);
    MatchButton->setEnabled(false);
    ImportButton->setEnabled(false);
    connect(CancelButton, &QPushButton::clicked, this, &TImportWindow::CancelButtonClick);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {SelectButton, "Chooses the file to import from."},
             {MatchButton, "Says which field of the file fills which field of the address file."},
             {ImportButton, "Adds the records of the chosen file to the open address file."},
             {CancelButton, "Closes the window, or stops the import after the current record."},
             {HelpButton, "Opens the help page about this import."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
}

QString TImportWindow::chooseFile(const QString &filter, const QString &defaultSuffix)
{
    if (m_chooser)
        return m_chooser();
    // The working folder is put back after the dialog.
    const QString folder = QDir::currentPath();
    QFileDialog dialog(this, windowTitle(), folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultSuffix);
    const QString chosen = dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    QDir::setCurrent(folder);
    return chosen;
}

void TImportWindow::step()
{
    ++m_done;
    if (m_total > 0)
        Gauge->setValue(static_cast<int>(static_cast<qint64>(m_done) * 100 / m_total));
    QApplication::processEvents();
}

void TImportWindow::CancelButtonClick()
{
    if (m_rebuilding)
        return;
    if (m_running) {
        m_cancel = true;
        return;
    }
    QDialog::reject();
}

void TImportWindow::reject()
{
    CancelButtonClick();
}

void TImportWindow::runImport(bool textSource, const std::function<TImportOutcome(TImportGauge &)> &run)
{
    m_running = true;
    m_cancel = false;
    for (QPushButton *b : {SelectButton, MatchButton, ImportButton, HelpButton})
        b->hide();
    Gauge->show();
    TImportGauge gauge([this](int position) {
        if (!m_rebuilding) {
            m_rebuilding = true;
            CancelButton->hide();
            Gauge->setValue(0);
        }
        Gauge->setValue(position);
        QApplication::processEvents();
    });
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_outcome = run(gauge);
    QApplication::restoreOverrideCursor();
    m_rebuilding = false;
    m_running = false;
    Gauge->reset();
    Gauge->hide();
    CancelButton->show();
    TMessages::information(this, m_outcome.message(textSource));
    const QStringList notes = m_outcome.notes();
    if (!notes.isEmpty())
        TMessages::information(this, notes.join(QLatin1Char('\n')));
    QDialog::accept();
}
