// "Print Labels" driven offscreen through its buttons: only New with an empty list; New through
// the designer appends a row and its layout file; Modify shows the same objects again; Cancel
// leaves row and file alone; a failed layout write keeps the designer open and adds nothing;
// Clone and Delete with their questions.
#include "TLabelSetupScreen.h"

#include "LabelsUiSupport.h"
#include "SmallAddressFile.h"
#include "TGLabelPanel.h"
#include "TLabelDesignScreen.h"
#include "TLabelSetups.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace labeltest;

namespace {

class LabelsWindow : public LabelsFolder
{
protected:
    void SetUp() override
    {
        LabelsFolder::SetUp();
        session = smallfile::session(qs(dir.path()), {{{"LNAME", QStringLiteral("Lee")},
                                                       {"FNAME", QStringLiteral("Ann")},
                                                       {"STREET", QStringLiteral("1 Main St")},
                                                       {"CITY", QStringLiteral("Salem")},
                                                       {"STATE", QStringLiteral("OR")},
                                                       {"ZIP", QStringLiteral("97301")}}});
        ASSERT_TRUE(session);
        ASSERT_TRUE(labels.open(program).ok);
    }
    void open()
    {
        window = std::make_unique<TLabelSetupScreen>(*session, labels);
        window->setGlabelsFolder(QStringLiteral("/nonexistent"));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QStringList listed() const
    {
        QStringList out;
        for (int i = 0; i < window->Grid->topLevelItemCount(); ++i)
            out << window->Grid->topLevelItem(i)->text(0);
        return out;
    }
    // Designs a new setup named `name` and saves it.
    void addThroughNew(const QString &name)
    {
        whenShown<TLabelDesignScreen>([name](TLabelDesignScreen *d) {
            d->LabelSetupDescription->setFocus();
            d->LabelSetupDescription->selectAll();
            QTest::keyClicks(d->LabelSetupDescription, name);
            QTest::mouseClick(d->SaveButton, Qt::LeftButton);
        });
        QTest::mouseClick(window->NewButton, Qt::LeftButton);
    }

    std::unique_ptr<TAddressSession> session;
    TLabelSetups labels;
    std::unique_ptr<TLabelSetupScreen> window;
};

} // namespace

TEST_F(LabelsWindow, NewSavesARowAndALayoutThatModifyShowsAgain)
{
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Print Labels"));
    for (QWidget *w :
         {static_cast<QWidget *>(window->ModifyButton), static_cast<QWidget *>(window->CloneButton),
          static_cast<QWidget *>(window->DeleteButton), static_cast<QWidget *>(window->PrintButton),
          static_cast<QWidget *>(window->PreviewButton), static_cast<QWidget *>(window->Grid)})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_TRUE(window->NewButton->isEnabled());
    EXPECT_FALSE(window->WhatToPrint->isVisible());
    EXPECT_EQ(window->SheetNameField->text(), QStringLiteral("Avery 5160  Address"));

    addThroughNew(QStringLiteral("Mailing"));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("Mailing")});
    EXPECT_TRUE(window->ModifyButton->isEnabled());
    EXPECT_TRUE(window->WhatToPrint->isVisible());
    EXPECT_EQ(window->currentSetup().Binary, QStringLiteral("BIN00001.L"));
    EXPECT_FLOAT_EQ(window->currentSetup().HorizPitch, 2.75f);
    const QByteArray saved = readBytes(sysdata(QStringLiteral("BIN00001.L")));
    ASSERT_FALSE(saved.isEmpty());

    // Modify shows the same objects: written again they are the same bytes.
    QByteArray reopened;
    int objects = 0;
    whenShown<TLabelDesignScreen>([&](TLabelDesignScreen *d) {
        objects = static_cast<int>(d->surface().objects().size());
        EXPECT_EQ(d->LabelSetupDescription->text(), QStringLiteral("Mailing"));
        EXPECT_TRUE(d->surface().SaveToFile(sysdata(QStringLiteral("again.tmp"))).ok);
        reopened = readBytes(sysdata(QStringLiteral("again.tmp")));
        // Edits then Cancel leave the row and the file as they were.
        d->LabelSetupDescription->setFocus();
        QTest::keyClicks(d->LabelSetupDescription, QStringLiteral(" changed"));
        d->surface().deleteObject(d->surface().objects().front());
        QTest::mouseClick(d->CancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->ModifyButton, Qt::LeftButton);
    EXPECT_EQ(objects, 1);
    EXPECT_EQ(reopened, saved);
    EXPECT_EQ(readBytes(sysdata(QStringLiteral("BIN00001.L"))), saved);
    EXPECT_EQ(listed(), QStringList{QStringLiteral("Mailing")});
}

TEST_F(LabelsWindow, FailedLayoutWriteKeepsTheDesignerOpenAndAddsNothing)
{
    open();
    bool stayed = false;
    whenShown<TLabelDesignScreen>([&](TLabelDesignScreen *d) {
        // The layout file's place is taken by a folder: the write fails.
        ASSERT_TRUE(QDir().mkpath(sysdata(d->setup().Binary)));
        d->LabelSetupDescription->setFocus();
        QTest::keyClicks(d->LabelSetupDescription, QStringLiteral("x"));
        QTest::mouseClick(d->SaveButton, Qt::LeftButton);
        stayed = d->isVisible();
        QTest::mouseClick(d->CancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->NewButton, Qt::LeftButton);
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(labels.isEmpty());
    EXPECT_TRUE(listed().isEmpty());
    ASSERT_GE(boxes.size(), 2);
    EXPECT_TRUE(boxes.last().startsWith(QStringLiteral("Information|")));
}

TEST_F(LabelsWindow, CloneAndDeleteAskFirst)
{
    open();
    addThroughNew(QStringLiteral("Parcel"));
    boxes.clear();
    answer = [](const TMessageRequest &) { return QMessageBox::No; };
    QTest::mouseClick(window->CloneButton, Qt::LeftButton);
    EXPECT_EQ(boxes, QStringList{QStringLiteral("CLONE|Clone \"Parcel\"?")});
    EXPECT_EQ(listed().size(), 1);

    answer = [](const TMessageRequest &) { return QMessageBox::Yes; };
    QTest::mouseClick(window->CloneButton, Qt::LeftButton);
    EXPECT_EQ(listed(), QStringList({QStringLiteral("Clone of :Parcel"), QStringLiteral("Parcel")}));
    EXPECT_EQ(window->currentSetup().Description, QStringLiteral("Clone of :Parcel"));
    EXPECT_EQ(window->currentSetup().Binary, QStringLiteral("BIN00002.L"));
    EXPECT_EQ(readBytes(sysdata(QStringLiteral("BIN00002.L"))),
              readBytes(sysdata(QStringLiteral("BIN00001.L"))));

    boxes.clear();
    QTest::mouseClick(window->DeleteButton, Qt::LeftButton);
    EXPECT_EQ(boxes, QStringList{QStringLiteral("DELETE|Delete \"Clone of :Parcel\"?")});
    EXPECT_EQ(listed(), QStringList{QStringLiteral("Parcel")});
    EXPECT_FALSE(QFile::exists(sysdata(QStringLiteral("BIN00002.L"))));
    EXPECT_TRUE(QFile::exists(sysdata(QStringLiteral("BIN00001.L"))));

    // A setup whose layout file was removed cannot be cloned.
    ASSERT_TRUE(QFile::remove(sysdata(QStringLiteral("BIN00001.L"))));
    boxes.clear();
    QTest::mouseClick(window->CloneButton, Qt::LeftButton);
    EXPECT_EQ(boxes.last(), QStringLiteral("Information|") + TLabelSetups::removedFileMessage());
    EXPECT_EQ(listed().size(), 1);
}

TEST_F(LabelsWindow, ModifyWithoutItsLayoutFileStartsEmptyUnderANewNameAndADamagedOneIsNotOpened)
{
    open();
    addThroughNew(QStringLiteral("Gone"));
    ASSERT_TRUE(QFile::remove(sysdata(QStringLiteral("BIN00001.L"))));
    int objects = -1;
    QString binary;
    whenShown<TLabelDesignScreen>([&](TLabelDesignScreen *d) {
        objects = static_cast<int>(d->surface().objects().size());
        binary = d->setup().Binary;
        QTest::mouseClick(d->CancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->ModifyButton, Qt::LeftButton);
    EXPECT_EQ(objects, 0);
    // The row still names BIN00001.L, so the new name is another.
    EXPECT_EQ(binary, QStringLiteral("BIN00002.L"));

    ASSERT_TRUE(writeBytes(sysdata(QStringLiteral("BIN00001.L")), "TPF0 damaged"));
    boxes.clear();
    bool opened = false;
    QObject::connect(window.get(), &TLabelSetupScreen::designerOpened, [&opened] { opened = true; });
    QTest::mouseClick(window->ModifyButton, Qt::LeftButton);
    EXPECT_FALSE(opened);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.at(0).startsWith(QStringLiteral("Information|")));
    EXPECT_EQ(readBytes(sysdata(QStringLiteral("BIN00001.L"))), QByteArray("TPF0 damaged"));
}
