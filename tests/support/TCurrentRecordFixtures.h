// Address records for the current-record tests, read from the shared fixture table.
#pragma once

#include "TCurrentRecordValues.h"

#include "Table.h"

#include <gtest/gtest.h>

#include <string>

// Record `recno` of the fixture address file `file` (e.g. "ADD0001").
inline TCurrentRecordValues fixtureRecord(uint32_t recno, const std::string &file = "ADD0001")
{
    xbase::Table table;
    const std::string path = std::string(CORVANTIS_SHARED_DIR) + "/fixtures/xbase/" + file + ".DBF";
    TCurrentRecordValues values;
    const xbase::Status opened = table.open(path, xbase::OpenMode::ReadOnly);
    EXPECT_TRUE(opened.ok()) << opened.message();
    if (!opened.ok())
        return values;
    const xbase::Status moved = table.go(recno);
    EXPECT_TRUE(moved.ok()) << moved.message();
    const xbase::Status read = TCurrentRecordValues::fromTable(table, values);
    EXPECT_TRUE(read.ok()) << read.message();
    return values;
}
