// The message seam: a window asks, the scripted answer comes back, and the box that would
// have been shown carries the right caption, icon, buttons and default.
#include "TMessages.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

// A scripted answerer that records every box, restoring real boxes when it goes.
class ScriptedAnswers
{
public:
    explicit ScriptedAnswers(std::vector<QMessageBox::StandardButton> answers) : m_answers(std::move(answers))
    {
        m_previous = TMessages::setAnswerer([this](const TMessageRequest &r) {
            m_asked.push_back(r);
            const size_t i = m_asked.size() - 1;
            return i < m_answers.size() ? m_answers[i] : QMessageBox::NoButton;
        });
    }
    ~ScriptedAnswers() { TMessages::setAnswerer(m_previous); }
    const std::vector<TMessageRequest> &asked() const { return m_asked; }

private:
    std::vector<QMessageBox::StandardButton> m_answers;
    std::vector<TMessageRequest> m_asked;
    TMessages::Answerer m_previous;
};

// A stand-in for a window that asks before it deletes.
class DeletingWindow : public QWidget
{
public:
    bool deleted = false;
    void DeleteButtonClick()
    {
        if (TMessages::question(this, QStringLiteral("DELETE"), QStringLiteral("Delete this record?"),
                                QMessageBox::No))
            deleted = true;
        else
            TMessages::information(this, QStringLiteral("Nothing was deleted."));
    }
};

TEST(Messages, QuestionReturnsTheScriptedAnswerWithItsCaptionIconAndDefault)
{
    DeletingWindow window;
    {
        ScriptedAnswers answers({QMessageBox::Yes});
        window.DeleteButtonClick();
        ASSERT_EQ(answers.asked().size(), 1u);
        const TMessageRequest &r = answers.asked()[0];
        EXPECT_EQ(r.parent, &window);
        EXPECT_EQ(r.caption, QStringLiteral("DELETE"));
        EXPECT_EQ(r.text, QStringLiteral("Delete this record?"));
        EXPECT_EQ(r.icon, QMessageBox::Question);
        EXPECT_EQ(r.buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(r.defaultButton, QMessageBox::No);
    }
    EXPECT_TRUE(window.deleted);

    window.deleted = false;
    ScriptedAnswers answers({QMessageBox::No, QMessageBox::Ok});
    window.DeleteButtonClick();
    EXPECT_FALSE(window.deleted);
    ASSERT_EQ(answers.asked().size(), 2u);
    const TMessageRequest &info = answers.asked()[1];
    EXPECT_EQ(info.caption, QStringLiteral("Information"));
    EXPECT_EQ(info.icon, QMessageBox::Information);
    EXPECT_EQ(info.buttons, QMessageBox::Ok);
}

TEST(Messages, WarningAndThreeWayQuestion)
{
    ScriptedAnswers answers({QMessageBox::Ok, QMessageBox::Cancel});
    TMessages::warning(nullptr, QStringLiteral("Warning"), QStringLiteral("Careful"));
    EXPECT_EQ(TMessages::questionWithCancel(nullptr, QStringLiteral("Save"), QStringLiteral("Save changes?"),
                                            QMessageBox::Yes),
              QMessageBox::Cancel);
    ASSERT_EQ(answers.asked().size(), 2u);
    EXPECT_EQ(answers.asked()[0].icon, QMessageBox::Warning);
    EXPECT_EQ(answers.asked()[1].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(answers.asked()[1].defaultButton, QMessageBox::Yes);
}

TEST(Messages, RealBoxGetsTheDefaultButton)
{
    // Without an answerer a real box is shown; accept it through its default button.
    QMessageBox::StandardButton seenDefault = QMessageBox::NoButton;
    QTimer::singleShot(0, [&] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (box && box->isVisible()) {
                seenDefault = box->standardButton(box->defaultButton());
                box->defaultButton()->click();
            }
        }
    });
    const bool yes =
        TMessages::question(nullptr, QStringLiteral("CLONE"), QStringLiteral("Clone?"), QMessageBox::No);
    EXPECT_EQ(seenDefault, QMessageBox::No);
    EXPECT_FALSE(yes);
}

struct FailureCase {
    xbase::StatusCode code;
    const char *message;
    const char *expected;
};
class FailureTexts : public ::testing::TestWithParam<FailureCase>
{
};

TEST_P(FailureTexts, LockedDamagedAndUnwritableFilesGetTheirOwnSentence)
{
    const FailureCase c = GetParam();
    const TResult failed = TResult::failure(QLatin1String(c.message), c.code);
    EXPECT_EQ(TMessages::failureText(failed, QStringLiteral("Fallback")), QLatin1String(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, FailureTexts,
    ::testing::Values(
        FailureCase{xbase::StatusCode::Locked, "ADD.DBF is locked",
                    "The file is in use by another program or user.\r\n\r\nADD.DBF is locked"},
        FailureCase{xbase::StatusCode::Corruption, "",
                    "The file is damaged. Rebuilding its indexes may repair it.\r\n\r\nFallback"},
        FailureCase{xbase::StatusCode::IoError, "Cannot write ADD.FPT: File too large",
                    "The file could not be read or written. The disk may be full, or the file "
                    "read-only.\r\n\r\nCannot write ADD.FPT: File too large"},
        FailureCase{xbase::StatusCode::InvalidArgument, "No record to delete", "No record to delete"},
        FailureCase{xbase::StatusCode::NotFound, "", "Fallback"}));

} // namespace
