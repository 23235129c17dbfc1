#include "TGTextObjectMenu.h"

#include "TG3DEffectsDialog.h"
#include "TGCounterDialog.h"
#include "TGCounterLabel.h"
#include "TGDateTimeLabel.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGSelectFieldDialog.h"
#include "TGSymbolLabel.h"
#include "TGSymbolSelectorDialog.h"
#include "TGTextDialog.h"

#include <QActionGroup>
#include <QColorDialog>
#include <QFontDialog>
#include <QMenu>

namespace {

void addRotation(QMenu *menu, TGBaseLabel *object)
{
    menu->addSeparator();
    QMenu *rotation = menu->addMenu(QStringLiteral("Rotation"));
    const std::pair<const char *, int> items[] = {
        {"No Rotation", 0}, {"90 Degrees", 90}, {"180 Degrees", 180}, {"270 Degrees", 270}};
    for (const auto &[text, angle] : items) {
        QAction *a = rotation->addAction(QString::fromLatin1(text));
        a->setCheckable(true);
        a->setChecked(object->Angle() == angle);
        QObject::connect(a, &QAction::triggered, [object, angle = angle] {
            object->SetAngle(angle);
            object->NotifyChanged();
        });
    }
}

} // namespace

void TGTextObjectMenu::addItems(QMenu *menu, TGBaseLabel *object, QWidget *dialogParent)
{
    auto *symbol = dynamic_cast<TGSymbolLabel *>(object);
    auto *plain = dynamic_cast<TGPLabel *>(object);
    menu->addSeparator();
    if (!symbol) {
        QObject::connect(
            menu->addAction(QStringLiteral("Font")), &QAction::triggered, [object, plain, dialogParent] {
                bool ok = false;
                const QFont chosen =
                    QFontDialog::getFont(&ok, object->Font().qtFont(object->pixelsPerInch()), dialogParent);
                if (!ok)
                    return;
                object->setFont(object->Font().chosenFrom(chosen));
                if (plain)
                    plain->FitToText();
            });
    }
    QObject::connect(menu->addAction(QStringLiteral("3D Effects")), &QAction::triggered,
                     [object, dialogParent] {
                         TG3DEffectsDialog dialog(object, dialogParent);
                         dialog.exec();
                     });
    if (!symbol) {
        QMenu *alignment = menu->addMenu(QStringLiteral("Alignment"));
        const std::pair<const char *, TAlignment> items[] = {
            {"Left", taLeftJustify}, {"Center", taCenter}, {"Right", taRightJustify}};
        for (const auto &[text, value] : items) {
            QAction *a = alignment->addAction(QString::fromLatin1(text));
            a->setCheckable(true);
            a->setChecked(object->Alignment() == value);
            QObject::connect(a, &QAction::triggered,
                             [object, value = value] { object->ChooseAlignment(value); });
        }
    }
    QObject::connect(
        menu->addAction(QStringLiteral("Background Color")), &QAction::triggered, [object, dialogParent] {
            const QColor c = QColorDialog::getColor(TGColor::toQColor(object->BackColor()), dialogParent);
            if (c.isValid())
                object->ChooseBackColor(TGColor::fromQColor(c));
        });
    QAction *transparent = menu->addAction(QStringLiteral("Transparent"));
    transparent->setCheckable(true);
    transparent->setChecked(object->Transparent());
    QObject::connect(transparent, &QAction::triggered,
                     [object] { object->setTransparent(!object->Transparent()); });

    if (plain) {
        menu->addSeparator();
        QObject::connect(menu->addAction(QStringLiteral("Text")), &QAction::triggered, [plain, dialogParent] {
            TGTextDialog dialog(plain, dialogParent);
            dialog.exec();
        });
        addRotation(menu, object);
    } else if (auto *counter = dynamic_cast<TGCounterLabel *>(object)) {
        menu->addSeparator();
        QObject::connect(menu->addAction(QStringLiteral("Counter Settings")), &QAction::triggered,
                         [counter, dialogParent] {
                             TGCounterDialog dialog(counter, dialogParent);
                             dialog.exec();
                         });
        addRotation(menu, object);
    } else if (auto *field = dynamic_cast<TGPDLabel *>(object)) {
        menu->addSeparator();
        QObject::connect(menu->addAction(QStringLiteral("Field")), &QAction::triggered,
                         [field, dialogParent] {
                             TGSelectFieldDialog dialog(field, dialogParent);
                             dialog.exec();
                         });
    } else if (symbol) {
        menu->addSeparator();
        QObject::connect(menu->addAction(QStringLiteral("Symbol Selector")), &QAction::triggered,
                         [symbol, dialogParent] {
                             TGSymbolSelectorDialog dialog(symbol, dialogParent);
                             dialog.exec();
                         });
    } else if (auto *date = dynamic_cast<TGDateTimeLabel *>(object)) {
        menu->addSeparator();
        QMenu *dates = menu->addMenu(QStringLiteral("Date Format"));
        int i = 0;
        for (const char *text : {"No Date", "Windows Short Date", "Windows Long Date"}) {
            QAction *a = dates->addAction(QString::fromLatin1(text));
            a->setCheckable(true);
            a->setChecked(date->DateFormat == i);
            QObject::connect(a, &QAction::triggered, [date, i] {
                date->DateFormat = static_cast<TDateFormat>(i);
                date->Invalidate();
            });
            ++i;
        }
        QMenu *times = menu->addMenu(QStringLiteral("Time Format"));
        i = 0;
        for (const char *text : {"No Time", "Windows Short Time", "Windows Long Time"}) {
            QAction *a = times->addAction(QString::fromLatin1(text));
            a->setCheckable(true);
            a->setChecked(date->TimeFormat == i);
            QObject::connect(a, &QAction::triggered, [date, i] {
                date->TimeFormat = static_cast<TTimeFormat>(i);
                date->Invalidate();
            });
            ++i;
        }
    }
}
