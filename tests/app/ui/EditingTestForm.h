// A small record form for the editing tests: the boxes, the read-only date box, the two pages
// with the memo and "Find &Next", wired to the record-editing commands and keyboard rules the
// way the main window wires them, over a copy of the address fixture.
#pragma once

#include "EditingFixture.h"
#include "TEditState.h"
#include "TFormKeys.h"
#include "TMessages.h"
#include "TRecordEditCommands.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

struct TEditingTestForm {
    static QStringList boxFields()
    {
        return {QStringLiteral("LNAME"),  QStringLiteral("FNAME"),   QStringLiteral("MIDDLE"),
                QStringLiteral("PREFIX"), QStringLiteral("TITLE"),   QStringLiteral("ORG"),
                QStringLiteral("STREET"), QStringLiteral("STREET2"), QStringLiteral("CITY"),
                QStringLiteral("STATE"),  QStringLiteral("ZIP"),     QStringLiteral("COUNTRY"),
                QStringLiteral("PHONE"),  QStringLiteral("PHONE2"),  QStringLiteral("FAX"),
                QStringLiteral("EMAIL"),  QStringLiteral("CODES"),   QStringLiteral("USER1"),
                QStringLiteral("USER2")};
    }

    explicit TEditingTestForm(const char *fixtureName = "ADD0001") : file(fixtureName)
    {
        auto *layout = new QVBoxLayout(&window);
        pages = new QTabWidget(&window);
        addressPage = new QWidget;
        memoPage = new QWidget;
        auto *addressLayout = new QVBoxLayout(addressPage);
        for (const QString &f : boxFields()) {
            auto *box = new QLineEdit;
            box->setObjectName(f);
            parts.boxes.insert(f, box);
            boxes.append(box);
            if (f.startsWith(QLatin1String("LNAME")) || f == QLatin1String("FNAME") ||
                f == QLatin1String("MIDDLE") || f == QLatin1String("PREFIX") || f == QLatin1String("TITLE") ||
                f == QLatin1String("ORG"))
                layout->addWidget(box);
            else
                addressLayout->addWidget(box);
            if (f == QLatin1String("COUNTRY")) {
                dateBox = new QLineEdit;
                dateBox->setReadOnly(true);
                addressLayout->addWidget(dateBox);
            }
        }
        memo = new QPlainTextEdit;
        findNext = new QPushButton(QStringLiteral("Find &Next"));
        auto *memoLayout = new QVBoxLayout(memoPage);
        memoLayout->addWidget(memo);
        memoLayout->addWidget(findNext);
        pages->addTab(addressPage, QStringLiteral("Address &Information"));
        pages->addTab(memoPage, QStringLiteral("&Memo"));
        layout->addWidget(pages);
        saveButton = new QPushButton(QStringLiteral("&Save"), &window);
        layout->addWidget(saveButton);
        modeLabel = new QLabel(&window);
        layout->addWidget(modeLabel);

        parts.window = &window;
        parts.dateBox = dateBox;
        parts.memo = memo;
        parts.pages = pages;
        parts.addressPage = addressPage;
        parts.findNextButton = findNext;
        TRecordFormHooks hooks;
        hooks.refreshForm = [this] { refresh(); };
        hooks.setButtons = [this] { ++buttonRefreshes; };
        hooks.reapplyFilter = [this] { file.reapplyFilter(); };
        hooks.beep = [this] { ++beeps; };
        commands = std::make_unique<TRecordEditCommands>(file.table, parts, hooks);
        commands->setToday(QDate(2026, 12, 10));
        keys = std::make_unique<TFormKeys>(*commands);
        keys->install(boxes, memo, &window, modeLabel);
        QObject::connect(&file.table, &TAddressTable::recordChanged, [this] { refresh(); });

        TMessages::setAnswerer([this](const TMessageRequest &r) {
            asked.append(r.caption + QStringLiteral(": ") + r.text);
            defaults.append(r.defaultButton);
            if (!answers.isEmpty())
                return answers.takeFirst();
            return r.buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::No;
        });
        refresh();
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    ~TEditingTestForm() { TMessages::setAnswerer({}); }

    void refresh()
    {
        if (file.table.isFrozen())
            return;
        const bool shown = file.table.hasRecord() || file.table.isEditing();
        for (auto it = parts.boxes.cbegin(); it != parts.boxes.cend(); ++it)
            it.value()->setText(shown ? file.table.value(it.key()) : QString());
        dateBox->setText(shown ? file.table.value(QStringLiteral("DisplayDate")) : QString());
        memo->setPlainText(shown ? file.table.memo() : QString());
    }
    QLineEdit *box(const char *field) const { return parts.boxes.value(QLatin1String(field)); }
    QWidget *focused() const { return window.focusWidget(); }
    QString value(const char *field) const { return file.table.value(QLatin1String(field)); }
    void goToName(const char *last, const char *first)
    {
        EXPECT_TRUE(fixture::goToName(file.table, last, first)) << last;
    }

    TEditingFile file;
    QWidget window;
    QTabWidget *pages = nullptr;
    QWidget *addressPage = nullptr;
    QWidget *memoPage = nullptr;
    QList<QLineEdit *> boxes;
    QLineEdit *dateBox = nullptr;
    QPlainTextEdit *memo = nullptr;
    QPushButton *findNext = nullptr;
    QPushButton *saveButton = nullptr;
    QLabel *modeLabel = nullptr;
    TRecordFormParts parts;
    std::unique_ptr<TRecordEditCommands> commands;
    std::unique_ptr<TFormKeys> keys;
    int buttonRefreshes = 0;
    int beeps = 0;
    QStringList asked; // caption + ": " + text of every box
    QList<QMessageBox::StandardButton> defaults;
    QList<QMessageBox::StandardButton> answers;
};
