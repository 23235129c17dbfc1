// Save Filter and Restore Filter: the name rules, the question before replacing a file and the
// messages, with the file dialogs replaced by the name a user would choose.
#include "TFilterFileCommands.h"

#include "TFilterFile.h"
#include "TMessages.h"

#include "TempDir.h"
#include "TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <vector>

namespace {

using C = TFilterCriteria;

class ScriptedBoxes
{
public:
    explicit ScriptedBoxes(QMessageBox::StandardButton answer = QMessageBox::Ok)
    {
        m_previous = TMessages::setAnswerer([this, answer](const TMessageRequest &r) {
            shown.push_back(r);
            return answer;
        });
    }
    ~ScriptedBoxes() { TMessages::setAnswerer(m_previous); }
    std::vector<TMessageRequest> shown;

private:
    TMessages::Answerer m_previous;
};

TFilterFileCommands::Chooser choosing(const QString &path, QString *folderSeen = nullptr)
{
    return [=](QWidget *, const QString &folder) {
        if (folderSeen)
            *folderSeen = folder;
        return path;
    };
}

class FilterFileCommands : public ::testing::Test
{
protected:
    QString folder() const { return QString::fromStdString(m_dir.path()) + QLatin1Char('/'); }
    TFilterCriteria criteria() const
    {
        TFilterCriteria c;
        c.setText(C::qState, QStringLiteral("ca;on"));
        c.setTagged(true);
        return c;
    }
    TempDir m_dir;
};

TEST_F(FilterFileCommands, SaveAppendsTheExtensionAndStartsInTheGivenFolder)
{
    ScriptedBoxes boxes;
    QString seen;
    EXPECT_TRUE(TFilterFileCommands::SaveFilter(nullptr, criteria(), folder(),
                                                choosing(folder() + QStringLiteral("west"), &seen)));
    EXPECT_EQ(seen, folder());
    EXPECT_EQ(readBytes(folder() + QStringLiteral("west.FLT")), TFilterFile::encode(criteria()));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FilterFileCommands, SaveRefusesAnotherExtension)
{
    ScriptedBoxes boxes;
    EXPECT_FALSE(TFilterFileCommands::SaveFilter(nullptr, criteria(), folder(),
                                                 choosing(folder() + QStringLiteral("west.txt"))));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Must have a .FLT extension"));
    EXPECT_FALSE(QFileInfo::exists(folder() + QStringLiteral("west.txt")));
    EXPECT_FALSE(QFileInfo::exists(folder() + QStringLiteral("west.txt.FLT")));
}

TEST_F(FilterFileCommands, SaveAsksBeforeReplacingAFile)
{
    const QString path = folder() + QStringLiteral("west.flt");
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        ScriptedBoxes boxes(answer);
        EXPECT_EQ(TFilterFileCommands::SaveFilter(nullptr, criteria(), folder(), choosing(path)),
                  answer == QMessageBox::Yes);
        ASSERT_EQ(boxes.shown.size(), 1u);
        const TMessageRequest &q = boxes.shown[0];
        EXPECT_EQ(q.caption, QStringLiteral("Warning!"));
        EXPECT_EQ(q.text, path + QStringLiteral(" already exists.\r\nDo you want to overwrite it?"));
        EXPECT_EQ(q.buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(q.defaultButton, QMessageBox::No);
        EXPECT_EQ(readBytes(path),
                  answer == QMessageBox::Yes ? TFilterFile::encode(criteria()) : QByteArray("old"));
    }
}

TEST_F(FilterFileCommands, RestoreReadsAFiveLineFile)
{
    ScriptedBoxes boxes;
    const QString path = folder() + QStringLiteral("five.FLT");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("jones\r\nmary\r\nDr.\r\nAcme\r\nMain St\r\n");
    }
    TFilterCriteria c = criteria();
    ASSERT_TRUE(TFilterFileCommands::RestoreFilter(nullptr, c, folder(), choosing(path)));
    TFilterCriteria expected;
    const char *five[] = {"jones", "mary", "Dr.", "Acme", "Main St"};
    for (int i = 0; i < 5; ++i)
        expected.setText(i, QLatin1String(five[i]));
    EXPECT_EQ(c, expected);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(FilterFileCommands, RestoreRefusesOtherNamesAndKeepsTheCriteriaWhenCancelled)
{
    ScriptedBoxes boxes;
    const QString path = folder() + QStringLiteral("names.txt");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    TFilterCriteria c = criteria();
    EXPECT_FALSE(TFilterFileCommands::RestoreFilter(nullptr, c, folder(), choosing(path)));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Must be a Filter (.FLT) file"));
    EXPECT_FALSE(TFilterFileCommands::RestoreFilter(nullptr, c, folder(), choosing(QString())));
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(c, criteria());
}

} // namespace
