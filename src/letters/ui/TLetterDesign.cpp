#include "TLetterDesign.h"

#include "TIniFile.h"
#include "TLetterDocument.h"
#include "TLetterPageLayout.h"
#include "TMergeFields.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

TLetterDesign::TLetterDesign(const QString &description, const QTextDocument *document, const TIniFile &ini,
                             QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TLetterDesign"));
    setWindowTitle(QStringLiteral("Letter Designer"));
    setModal(true);
    Description = new QLineEdit(description, this);
    Description->setObjectName(QStringLiteral("Description"));
    Description->setMaxLength(50);
    InsertField = new QComboBox(this);
    InsertField->setObjectName(QStringLiteral("InsertField"));
    InsertField->addItems(TMergeFields::names());
    InsertField->setCurrentIndex(0);
    RichEdit = new QTextEdit(this);
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    RichEdit->setAcceptRichText(false);
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto *help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("HelpButton"));

    std::unique_ptr<QTextDocument> edited;
    if (document) {
        edited = TLetterDocument::copy(*document);
    } else {
        edited = std::make_unique<QTextDocument>();
        TLetterPageLayout().applyTo(*edited);
    }
    edited->setParent(RichEdit);
    RichEdit->setDocument(edited.release());
    if (!document) {
        const QString section = QStringLiteral("Letter");
        QTextCharFormat font;
        font.setFontFamilies(
            {ini.readString(section, QStringLiteral("DefaultFontName"), QStringLiteral("Arial"))});
        font.setFontPointSize(ini.readInteger(section, QStringLiteral("DefaultFontSize"), 10));
        font.setFontWeight(ini.readBool(section, QStringLiteral("DefaultFontBold"), false) ? QFont::Bold
                                                                                           : QFont::Normal);
        font.setFontItalic(ini.readBool(section, QStringLiteral("DefaultFontItalic"), false));
        RichEdit->setCurrentCharFormat(font);
    }

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Description"), Description);
    fields->addRow(QStringLiteral("Insert field"), InsertField);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(help);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(RichEdit, 1);
    layout->addLayout(buttons);
    resize(720, 640);

    connect(InsertField, QOverload<int>::of(&QComboBox::activated), this, &TLetterDesign::FieldClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &TLetterDesign::helpRequested);
    RichEdit->setFocus();
}

TLetterDesign::~TLetterDesign() = default;

QString TLetterDesign::description() const
{
    return Description->text();
}

const QTextDocument &TLetterDesign::document() const
{
    return *RichEdit->document();
}

void TLetterDesign::FieldClick(int index)
{
    if (index < 0 || index >= TMergeFields::names().size())
        return;
    RichEdit->insertPlainText(TMergeFields::token(TMergeFields::names().at(index)));
    RichEdit->setFocus();
}

void TLetterDesign::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (!m_closing) {
        m_closing = true;
        accept();
    }
}
