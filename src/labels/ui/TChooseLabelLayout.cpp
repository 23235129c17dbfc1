#include "TChooseLabelLayout.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3102;

TChooseLabelLayout::TChooseLabelLayout(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Label Layout"));
    setModal(true);
    TemplateRadio = new QRadioButton(QStringLiteral("&Select layout from a list of templates"), this);
    UserDefinedRadio =
        new QRadioButton(QStringLiteral("&Enter the layout values manually (user defined layout)"), this);
    TemplateRadio->setChecked(true);
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(TemplateRadio);
    outer->addWidget(UserDefinedRadio);
    outer->addLayout(buttons);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {TemplateRadio, "Chooses a stock label sheet from a list."},
             {UserDefinedRadio, "Types in the measures of a sheet that is not in the list."},
             {OkButton, "Goes on with the choice."},
             {CancelButton, "Keeps the sheet as it is."},
             {HelpButton, "Opens the help page about label layouts."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

int TChooseLabelLayout::choose()
{
    if (exec() != QDialog::Accepted)
        return kCancelled;
    return TemplateRadio->isChecked() ? kTemplates : kUserDefined;
}
