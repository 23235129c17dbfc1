#include "TGMultiLineObjectMenu.h"

#include "TGAddressLayoutDialog.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDMultiLineLabel.h"
#include "TGFIMBarCode.h"
#include "TGIntelligentMailBarCode.h"
#include "TGIntelligentMailDialog.h"
#include "TGMultiLineLabel.h"
#include "TGMultiLineTextDialog.h"
#include "TGSelectFieldDialog.h"

#include <QFontDialog>
#include <QMenu>

namespace {

void addWordWrap(QMenu *menu, TGMultiLineBaseLabel *object)
{
    QAction *wrap = menu->addAction(QStringLiteral("Word Wrap"));
    wrap->setCheckable(true);
    wrap->setChecked(object->WordWrap());
    QObject::connect(wrap, &QAction::triggered, [object] { object->ToggleWordWrap(); });
}

void addMultiLine(QMenu *menu, TGMultiLineBaseLabel *object, QWidget *dialogParent)
{
    menu->addSeparator();
    QObject::connect(menu->addAction(QStringLiteral("Font")), &QAction::triggered, [object, dialogParent] {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, object->Font().qtFont(72), dialogParent);
        if (ok)
            object->ChooseFont(object->Font().chosenFrom(chosen));
    });
    QMenu *alignment = menu->addMenu(QStringLiteral("Alignment"));
    const std::pair<const char *, TAlignment> items[] = {
        {"Left", taLeftJustify}, {"Center", taCenter}, {"Right", taRightJustify}};
    for (const auto &[text, value] : items) {
        QAction *a = alignment->addAction(QString::fromLatin1(text));
        a->setCheckable(true);
        a->setChecked(object->Alignment() == value);
        QObject::connect(a, &QAction::triggered, [object, value = value] { object->ChooseAlignment(value); });
    }
    menu->addSeparator();
    if (auto *text = dynamic_cast<TGMultiLineLabel *>(object)) {
        QObject::connect(menu->addAction(QStringLiteral("Text")), &QAction::triggered, [text, dialogParent] {
            TGMultiLineTextDialog dialog(text, dialogParent);
            dialog.exec();
        });
        addWordWrap(menu, object);
    } else if (auto *memo = dynamic_cast<TGDMultiLineLabel *>(object)) {
        QObject::connect(menu->addAction(QStringLiteral("Memo Field")), &QAction::triggered,
                         [memo, dialogParent] {
                             TGSelectFieldDialog dialog(memo, dialogParent);
                             dialog.exec();
                         });
        addWordWrap(menu, object);
    } else if (auto *block = dynamic_cast<TGDMultiLineAddressLabel *>(object)) {
        QObject::connect(menu->addAction(QStringLiteral("Address Layout")), &QAction::triggered,
                         [block, dialogParent] {
                             TGAddressLayoutDialog dialog(block, dialogParent);
                             dialog.exec();
                         });
    }
}

} // namespace

void TGMultiLineObjectMenu::addItems(QMenu *menu, TGGraphicControl *object, QWidget *dialogParent)
{
    if (auto *multiLine = dynamic_cast<TGMultiLineBaseLabel *>(object)) {
        addMultiLine(menu, multiLine, dialogParent);
    } else if (auto *fim = dynamic_cast<TGFIMBarCode *>(object)) {
        menu->addSeparator();
        const std::pair<const char *, TFIMType> items[] = {{"Set FIM to Type A", fimTypeA},
                                                           {"Set FIM to Type B", fimTypeB},
                                                           {"Set FIM to Type C", fimTypeC}};
        for (const auto &[text, type] : items) {
            QAction *a = menu->addAction(QString::fromLatin1(text));
            a->setCheckable(true);
            a->setChecked(fim->FIMType == type);
            QObject::connect(a, &QAction::triggered, [fim, type = type] { fim->ChooseFIMType(type); });
        }
    } else if (auto *imb = dynamic_cast<TGIntelligentMailBarCode *>(object)) {
        menu->addSeparator();
        QObject::connect(menu->addAction(QStringLiteral("Intelligent Mail Settings")), &QAction::triggered,
                         [imb, dialogParent] {
                             TGIntelligentMailDialog dialog(imb, dialogParent);
                             dialog.exec();
                         });
    }
}
