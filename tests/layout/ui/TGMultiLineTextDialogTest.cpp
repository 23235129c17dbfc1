// "Multi-line Text Editor": prefilled with the lines, typed text capped at 254 characters,
// "Ok" hands the lines to the object and "Cancel" leaves it.
#include "TGMultiLineTextDialog.h"
#include "TGDataPanel.h"
#include "TGMultiLineLabel.h"
#include "TGOwner.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TGMultiLineTextDialog, TypedLinesBecomeTheObjectsLines)
{
    TGOwner owner;
    TGDataPanel surface(&owner, 96);
    int changes = 0;
    surface.LabelChangedEvent = [&](TGBasePanel *) { ++changes; };
    auto *text =
        static_cast<TGMultiLineLabel *>(surface.insertObject(std::make_unique<TGMultiLineLabel>(&owner)));
    text->setItems({QStringLiteral("One"), QStringLiteral("Two")});
    TGMultiLineTextDialog dialog(text);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Multi-line Text Editor"));
    EXPECT_EQ(dialog.TextMemo->toPlainText(), QStringLiteral("One\nTwo"));
    dialog.TextMemo->setFocus();
    dialog.TextMemo->moveCursor(QTextCursor::End);
    QTest::keyClick(dialog.TextMemo, Qt::Key_Return);
    QTest::keyClicks(dialog.TextMemo, QStringLiteral("Three"));
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
    EXPECT_EQ(text->Items(),
              (QStringList{QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")}));
    EXPECT_GE(changes, 1);

    TGMultiLineTextDialog again(text);
    again.show();
    again.TextMemo->setFocus();
    again.TextMemo->moveCursor(QTextCursor::End);
    QTest::keyClicks(again.TextMemo, QString(300, QLatin1Char('x')));
    EXPECT_EQ(again.TextMemo->toPlainText().size(), TGMultiLineLabel::kMaxTextLength);
    QTest::mouseClick(again.CancelButton, Qt::LeftButton);
    EXPECT_EQ(text->Items().size(), 3);
}

} // namespace
