// The setups of ENVELOPE.DBF and their layout files: a save writes the layout before the row,
// a clone copies the layout before it adds a row, a delete removes only layout files, and a
// row's stored values come back as they were written (an unknown size code included).
#include "TEnvelopeSetups.h"

#include "QtPrinters.h"
#include "TEnvelopePanel.h"
#include "TGOwner.h"
#include "TGPLabel.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

class EnvelopeSetups : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(setups.open(folder).ok);
        surface.setSize(912, 396);
        auto *label = static_cast<TGPLabel *>(surface.insertObject(std::make_unique<TGPLabel>(&owner)));
        label->setCaption(QStringLiteral("Return address"));
        surface.WireObject(label);
    }

    // A new setup saved from the surface.
    TEnvelopeRow saved(const QString &description, int number = 20)
    {
        TEnvelopeRow row;
        row.description = description;
        row.number = number;
        row.binary = setups.nextBinaryName();
        EXPECT_TRUE(setups.save(row, surface).ok);
        return row;
    }

    QString sysdata(const QString &name) const { return setups.folder() + name; }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    TEnvelopeSetups setups;
    TGOwner owner;
    TEnvelopePanel surface{&owner, 96};
};

TEST_F(EnvelopeSetups, ASavedSetupComesBackWithItsLayoutFile)
{
    const TEnvelopeRow row = saved(QStringLiteral("Envelope #10"));
    EXPECT_EQ(row.binary, QStringLiteral("BIN00001.E"));
    EXPECT_GT(row.recno, 0u);
    EXPECT_TRUE(QFile::exists(sysdata(row.binary)));
    setups.close();
    ASSERT_TRUE(setups.open(folder).ok);
    ASSERT_EQ(setups.rows().size(), 1);
    EXPECT_EQ(setups.rows().at(0).description, QStringLiteral("Envelope #10"));
    EXPECT_EQ(setups.rows().at(0).number, 20);
    EXPECT_EQ(setups.rows().at(0).binary, QStringLiteral("BIN00001.E"));
    TGOwner otherOwner;
    TEnvelopePanel reread(&otherOwner, 96);
    ASSERT_TRUE(reread.LoadFromFile(setups.layoutPath(row.binary)).ok);
    EXPECT_EQ(reread.objects().size(), 1u);
}

TEST_F(EnvelopeSetups, ALayoutThatCannotBeWrittenPostsNoRow)
{
    // A folder where the layout file would go: the file cannot be written.
    ASSERT_TRUE(QDir().mkpath(sysdata(QStringLiteral("BIN00001.E"))));
    TEnvelopeRow row;
    row.description = QStringLiteral("Envelope #10");
    row.number = 20;
    row.binary = QStringLiteral("BIN00001.E");
    EXPECT_FALSE(setups.save(row, surface).ok);
    EXPECT_EQ(row.recno, 0u);
    EXPECT_TRUE(setups.rows().isEmpty());
}

TEST_F(EnvelopeSetups, CloneCopiesTheLayoutAndNamesIt)
{
    const TEnvelopeRow row = saved(QStringLiteral("Envelope #10"), 27);
    quint32 clone = 0;
    ASSERT_TRUE(setups.clone(row.recno, &clone).ok);
    const TEnvelopeRow copy = setups.rows().at(setups.indexOf(clone));
    EXPECT_EQ(copy.description, QStringLiteral("Clone of Envelope #10"));
    EXPECT_EQ(copy.number, 27);
    EXPECT_EQ(copy.binary, QStringLiteral("BIN00002.E"));
    EXPECT_EQ(readBytes(sysdata(copy.binary)), readBytes(sysdata(row.binary)));
    EXPECT_EQ(TEnvelopeSetups::cloneDescription(QString(50, QLatin1Char('x'))).size(), 50);
}

TEST_F(EnvelopeSetups, CloneOfASetupWithoutItsLayoutFileAddsNoRow)
{
    const TEnvelopeRow row = saved(QStringLiteral("Gone"));
    ASSERT_TRUE(QFile::remove(sysdata(row.binary)));
    const TResult cloned = setups.clone(row.recno);
    EXPECT_FALSE(cloned.ok);
    EXPECT_FALSE(cloned.message.isEmpty());
    EXPECT_EQ(setups.rows().size(), 1);
    // The next new setup does not take the name the setup without a file still holds.
    EXPECT_EQ(setups.nextBinaryName(), QStringLiteral("BIN00002.E"));
}

TEST_F(EnvelopeSetups, DeleteRemovesTheRowAndItsLayoutFileOnly)
{
    const TEnvelopeRow row = saved(QStringLiteral("Envelope #10"));
    ASSERT_TRUE(setups.remove(row.recno).ok);
    EXPECT_TRUE(setups.rows().isEmpty());
    EXPECT_FALSE(QFile::exists(sysdata(row.binary)));
    // A damaged row naming another file never reaches it.
    for (const QString &name : {QStringLiteral("ENVELOPE.DBF"), QStringLiteral("../CORVAN.ini")}) {
        EXPECT_TRUE(setups.layoutPath(name).isEmpty());
        EXPECT_FALSE(setups.hasLayoutFile(name));
    }
}

TEST_F(EnvelopeSetups, AnUnknownSizeCodeIsReadAsStored)
{
    const TEnvelopeRow row = saved(QStringLiteral("Odd"), 99);
    setups.close();
    ASSERT_TRUE(setups.open(folder).ok);
    EXPECT_EQ(setups.rows().at(setups.indexOf(row.recno)).number, 99);
    EXPECT_TRUE(
        TEnvelopeSetups::unknownSizeMessage(QStringLiteral("Odd")).contains(QStringLiteral("\"Odd\"")));
}

TEST_F(EnvelopeSetups, RowsAreInDescriptionOrder)
{
    saved(QStringLiteral("zebra"));
    saved(QStringLiteral("Apple"));
    saved(QStringLiteral("mango"));
    QStringList order;
    for (const TEnvelopeRow &r : setups.rows())
        order << r.description;
    EXPECT_EQ(order,
              (QStringList{QStringLiteral("Apple"), QStringLiteral("mango"), QStringLiteral("zebra")}));
}

} // namespace
