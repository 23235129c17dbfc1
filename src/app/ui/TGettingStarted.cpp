#include "TGettingStarted.h"

#include "THelpRequest.h"

#include "TAddingPrefs.h"
#include "TIniFile.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The help topic this window's F1 opens.
constexpr int kHelpTopic = 3007;

namespace {

struct Link {
    const char *word;
    int topic;
};

const Link kLinks[] = {
    {"NEW", 1037},
    {"DBASE", 1021},
    {"ASCII", 1023},
    {"ADD", 1030},
    {"CHANGE", 1030},
    {"FIND", 1026},
    {"DELETE", 2099},
    {"TECHNICAL SUPPORT", 1015},
    {"FREQUENTLY ASKED QUESTIONS", 2098},
};

QString link(const char *word)
{
    const QString w = QLatin1String(word);
    return QStringLiteral("<a href=\"topic:") + w + QStringLiteral("\">") + w + QStringLiteral("</a>");
}

QString introduction()
{
    return QStringLiteral("<h3>Welcome to Corvantis</h3>"
                          "<p>Corvantis keeps your names and addresses in an address file and prints "
                          "labels, envelopes, letters and reports from them.</p>"
                          "<p>To start a fresh address file, choose ") +
           link("NEW") + QStringLiteral(". To bring in addresses you already have, import them from a ") +
           link("DBASE") + QStringLiteral(" file or from an ") + link("ASCII") +
           QStringLiteral(" text file.</p><p>Then ") + link("ADD") + QStringLiteral(" new people, ") +
           link("CHANGE") + QStringLiteral(" their details, ") + link("FIND") +
           QStringLiteral(" anyone in seconds and ") + link("DELETE") +
           QStringLiteral(" the ones you no longer need.</p><p>Stuck? See ") + link("TECHNICAL SUPPORT") +
           QStringLiteral(" or the ") + link("FREQUENTLY ASKED QUESTIONS") + QStringLiteral(".</p>");
}

} // namespace

TGettingStarted::TGettingStarted(TIniFile &ini, QWidget *parent) : QDialog(parent), m_ini(ini)
{
    setObjectName(QStringLiteral("TGettingStarted"));
    setWindowTitle(QStringLiteral("Getting Started"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    auto *title = new QLabel(QStringLiteral("<b>Getting Started</b>"), this);
    TextView = new QTextBrowser(this);
    TextView->setOpenLinks(false);
    TextView->setHtml(introduction());
    DontShowCheck = new QCheckBox(QStringLiteral("Do not show this screen at start up"), this);
    DontShowCheck->setChecked(TAddingPrefs::loadGettingStarted(ini));
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setDefault(true);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(DontShowCheck);
    bottom->addStretch();
    bottom->addWidget(OkButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(TextView);
    layout->addLayout(bottom);
    resize(460, 340);
    setStyleSheet(QStringLiteral("TGettingStarted { border: 1px solid palette(dark); }"));

    connect(TextView, &QTextBrowser::anchorClicked, this, &TGettingStarted::linkClicked);
    connect(OkButton, &QPushButton::clicked, this, &TGettingStarted::OkButtonClick);
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

int TGettingStarted::helpTopic(const QString &word)
{
    for (const Link &l : kLinks) {
        if (word.compare(QLatin1String(l.word), Qt::CaseInsensitive) == 0)
            return l.topic;
    }
    return 0;
}

void TGettingStarted::linkClicked(const QUrl &url)
{
    const int topic = helpTopic(url.path());
    if (topic != 0)
        emit helpRequested(topic);
}

void TGettingStarted::OkButtonClick()
{
    TAddingPrefs::saveGettingStarted(m_ini, DontShowCheck->isChecked());
    accept();
}
