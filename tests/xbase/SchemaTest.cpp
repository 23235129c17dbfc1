#include "Field.h"

#include <gtest/gtest.h>

TEST(Schema, OffsetsFollowTheDeleteMarkAndFieldOrder)
{
    xbase::Schema s({{"LNAME", 'C', 30, 0, 0}, {"ISDEL", 'L', 1, 0, 0}, {"MEMO", 'M', 10, 0, 0}});
    EXPECT_EQ(s.field(0).offset, 1u);
    EXPECT_EQ(s.field(1).offset, 31u);
    EXPECT_EQ(s.field(2).offset, 32u);
    EXPECT_EQ(s.recordLength(), 42u);
    EXPECT_EQ(s.indexOf("isdel"), 1);
    EXPECT_EQ(s.indexOf("FAX"), -1);
}
