// Which buttons and menu items are shown and enabled in each state of the record form.
#include "TEditState.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ButtonCase {
    const char *name;
    TEditState state;
    // Per item, in TButtonStates order, two digits: shown, enabled.
    const char *expected;
};

std::string encode(const TButtonStates &s)
{
    std::string out;
    for (const TItemState &i :
         {s.save, s.cancel, s.add, s.edit, s.remove, s.exit, s.moves, s.dial, s.searchMemo, s.date, s.tools,
          s.filter, s.clearFilter, s.filterCommands, s.recordMenu, s.fileCommands}) {
        if (!out.empty())
            out += ' ';
        out += i.visible ? '1' : '0';
        out += i.enabled ? '1' : '0';
    }
    return out;
}

class SetButtonsRows : public ::testing::TestWithParam<ButtonCase>
{
};

TEST_P(SetButtonsRows, FollowTheTable)
{
    const ButtonCase c = GetParam();
    //                                 save can add edt del ext mov dia mem dat tls flt clr fcm rmn fil
    EXPECT_EQ(encode(c.state.SetButtons()), c.expected) << c.name;
}

// TEditState fields: fileOpen, editing, hasRecord, filterSet.
INSTANTIATE_TEST_SUITE_P(
    States, SetButtonsRows,
    ::testing::Values(
        ButtonCase{
            "no file", {false, false, false, false}, "00 00 10 10 10 11 00 00 00 10 10 10 00 10 10 10"},
        ButtonCase{"no file, criteria kept",
                   {false, false, false, true},
                   "00 00 10 10 10 11 00 00 00 10 10 11 11 11 10 10"},
        ButtonCase{
            "empty file", {true, false, false, false}, "00 00 11 10 10 11 00 00 00 10 10 10 00 10 11 11"},
        ButtonCase{"browsing", {true, false, true, false}, "00 00 11 11 11 11 11 11 11 11 11 11 00 10 11 11"},
        ButtonCase{"editing", {true, true, true, false}, "11 11 00 00 00 00 00 00 00 11 10 10 00 10 10 11"},
        ButtonCase{"inserting into an empty file",
                   {true, true, false, false},
                   "11 11 00 00 00 00 00 00 00 11 10 10 00 10 10 11"},
        ButtonCase{"browsing a filter",
                   {true, false, true, true},
                   "00 00 11 11 11 11 11 11 11 11 11 11 11 11 11 11"},
        ButtonCase{"editing under a filter",
                   {true, true, true, true},
                   "11 11 00 00 00 00 00 00 00 11 10 11 10 11 10 11"},
        ButtonCase{"a filter showing nothing",
                   {true, false, false, true},
                   "00 00 11 10 10 11 00 00 00 10 10 11 11 11 11 11"}),
    [](const ::testing::TestParamInfo<ButtonCase> &p) {
        std::string n = p.param.name;
        for (char &ch : n)
            if (!isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

} // namespace
