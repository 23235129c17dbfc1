// A copy of the other engine's address fixture opened as the main window opens it (query
// "!ISDEL", Last Name order, first record), with the filter kept the way the main window keeps
// it: a filter that shows nothing when it is applied again is dropped.
#pragma once

#include "TAddressTable.h"

#include "AddressFixture.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct TEditingFile {
    TempDir dir;
    TAddressTable table;
    QString filter;
    QString path;

    explicit TEditingFile(const char *name = "ADD0001")
    {
        path = fixture::copy(QLatin1String(name), QString::fromStdString(dir.path()));
        const TResult opened = table.OpenTableFile(path);
        EXPECT_TRUE(opened.ok) << opened.message.toStdString();
        // The tags are built again by this engine first, so that every fault the check finds
        // afterwards comes from the edits. (The other engine writes keys of accented letters
        // in lower case; this engine's check expects them in upper case.)
        const xbase::Status rebuilt = table.engine().reindex();
        EXPECT_TRUE(rebuilt.ok()) << rebuilt.message();
        EXPECT_EQ(faults(), std::vector<std::string>());
        EXPECT_TRUE(table.setQuery(query()));
        EXPECT_TRUE(table.setOrderTag(QStringLiteral("LNAME")));
        (void)table.first(); // an empty fixture has no first record
    }

    QString query() const
    {
        return filter.isEmpty() ? QStringLiteral("!ISDEL")
                                : QStringLiteral("(") + filter + QStringLiteral(") .and. !ISDEL");
    }
    // Sets the filter and goes to the first match.
    bool setFilter(const QString &expression)
    {
        filter = expression;
        const bool ok = bool(table.setQuery(query()));
        table.first();
        return ok;
    }
    // Applies the filter again; one that shows nothing is dropped.
    void reapplyFilter()
    {
        table.setQuery(query());
        if (!filter.isEmpty() && table.visibleCount() == 0) {
            filter.clear();
            table.setQuery(query());
        }
        table.first();
    }

    // The engine's check of the header, memo pointers and every tag.
    std::vector<std::string> faults()
    {
        std::vector<std::string> out;
        const xbase::Status s = table.engine().check(out);
        if (!s.ok())
            out.push_back("check failed: " + s.message());
        return out;
    }
};
