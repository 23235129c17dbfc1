#include "TEditState.h"

TButtonStates TEditState::SetButtons() const
{
    const bool ready = isReady();
    TButtonStates s;
    s.save = {editing, editing};
    s.cancel = {editing, editing};
    s.add = {!editing, fileOpen && !editing};
    s.edit = {!editing, ready};
    s.remove = {!editing, ready};
    s.exit = {!editing, !editing};
    // Shown only when ready; the menu items among them are enabled on the same rule.
    s.moves = {ready, ready};
    s.dial = {ready, ready};
    s.searchMemo = {ready, ready};
    // The date is chosen for the record shown (the choice starts the edit) or the one edited.
    s.date = {true, ready || editing};
    s.tools = {true, ready};
    s.filter = {true, filterSet || ready};
    s.clearFilter = {filterSet, filterSet && !editing};
    s.filterCommands = {true, filterSet};
    s.recordMenu = {true, fileOpen && !editing};
    s.fileCommands = {true, fileOpen};
    return s;
}
