// What the labels' window tests share: a program folder with the shipped catalogue, answering
// the next window of a type once it shows, and the scripted message boxes.
#pragma once

#include "TMessages.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace labeltest {

inline const QString kBuiltSysdata = QStringLiteral(CORVANTIS_BINARY_DIR "/sysdata/");

// Runs `act` on the first visible top-level window of type W once it shows.
template <typename W> void whenShown(std::function<void(W *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *found = qobject_cast<W *>(w);
            if (found && found->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(found);
                return;
            }
        }
    });
    timer->start();
}

// A program folder "<temp>/" with "sysdata/" holding a copy of the shipped catalogue, and
// every message box recorded as caption + "|" + text and answered by `answer`.
class LabelsFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        program = qs(dir.path()) + QLatin1Char('/');
        ASSERT_TRUE(QDir().mkpath(program + QStringLiteral("sysdata")));
        for (const char *ext : {".DBF", ".CDX"})
            ASSERT_TRUE(QFile::copy(kBuiltSysdata + QStringLiteral("LBLTPL") + QLatin1String(ext),
                                    program + QStringLiteral("sysdata/LBLTPL") + QLatin1String(ext)));
        previous = TMessages::setAnswerer([this](const TMessageRequest &r) {
            boxes << r.caption + QLatin1Char('|') + r.text;
            return answer(r);
        });
    }
    void TearDown() override { TMessages::setAnswerer(previous); }
    QString sysdata(const QString &name) const { return program + QStringLiteral("sysdata/") + name; }

    TempDir dir;
    QString program;
    QStringList boxes;
    std::function<QMessageBox::StandardButton(const TMessageRequest &)> answer = [](const TMessageRequest &) {
        return QMessageBox::Yes;
    };
    TMessages::Answerer previous;
};

} // namespace labeltest
