#include "TAsciiImport.h"

#include "THelpRequest.h"

#include "TAsciiImportRun.h"
#include "TAsciiMatch.h"
#include "TMessages.h"
#include "TVCardImportRun.h"
#include "TVCardReader.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 1023;

TAsciiImport::TAsciiImport(TAddressTable &table, QWidget *parent)
    : TImportWindow(QStringLiteral("ASCII File Import"), QStringLiteral("ASCII File Name"),
                    QStringLiteral("Select ASCII File"), parent),
      m_table(table), m_targets(table, TImportTargets::Kind::Text)
{
    connect(SelectButton, &QPushButton::clicked, this, &TAsciiImport::SelectButtonClick);
    connect(MatchButton, &QPushButton::clicked, this, &TAsciiImport::MatchButtonClick);
    connect(ImportButton, &QPushButton::clicked, this, &TAsciiImport::ImportButtonClick);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TAsciiImport::SelectButtonClick()
{
    const QString chosen = chooseFile(QStringLiteral("Text files, CSV Files (*.TXT *.txt *.CSV *.csv);;"
                                                     "vCard files (*.VCF *.vcf);;All files (*)"),
                                      QStringLiteral("prn"));
    if (chosen.isEmpty() && m_path.isEmpty()) {
        FileNameLabel->setText(QStringLiteral("(none)"));
        MatchButton->setEnabled(false);
        ImportButton->setEnabled(false);
        return;
    }
    scan(chosen.isEmpty() ? m_path : chosen);
}

bool TAsciiImport::scan(const QString &path)
{
    m_path = path;
    FileNameLabel->setText(path);
    MatchButton->setEnabled(false);
    ImportButton->setEnabled(false);
    m_columns = TAsciiColumns();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        TMessages::information(this, QStringLiteral("Unable to import from this file"));
        return false;
    }
    m_raw = file.readAll();
    m_vcard = TVCardReader::looksLikeVCard(m_raw);
    if (m_vcard) {
        // Cards carry their own field names: nothing to match.
        ImportButton->setEnabled(true);
        return true;
    }
    m_text.setBytes(m_raw);
    m_raw.clear();
    const TResult scanned = m_columns.scan(m_text, &m_targets);
    if (!scanned.ok) {
        TMessages::information(this, scanned.message);
        return false;
    }
    MatchButton->setEnabled(true);
    ImportButton->setEnabled(m_columns.hasMatch());
    return true;
}

void TAsciiImport::MatchButtonClick()
{
    TAsciiMatch window(m_columns, m_targets, QFileInfo(m_path).fileName(), this);
    QTimer::singleShot(0, &window, [this, &window] { emit matchWindowShown(&window); });
    window.exec();
    ImportButton->setEnabled(m_columns.hasMatch());
}

void TAsciiImport::ImportButtonClick()
{
    runImport(true, [this](TImportGauge &gauge) {
        auto status = [this](const QString &text) { StatusLabel->setText(text); };
        if (m_vcard)
            return TVCardImportRun::run(m_table, m_raw, *this, &gauge, status);
        return TAsciiImportRun::run(m_table, m_text, m_columns, m_targets, *this, &gauge, status);
    });
}
