// The state of the record form as the buttons and menus see it, and which of them are shown
// and enabled in that state. A value object: the main window builds one at each refresh.
#pragma once

// Shown and enabled, for one button or menu item.
struct TItemState {
    bool visible = true;
    bool enabled = true;
    friend bool operator==(const TItemState &a, const TItemState &b)
    {
        return a.visible == b.visible && a.enabled == b.enabled;
    }
};

// Every item of the form whose state follows the editing state.
struct TButtonStates {
    TItemState save;           // "&Save"
    TItemState cancel;         // "&Cancel"
    TItemState add;            // "&Add" button and the "&Record" menu's "&Add"
    TItemState edit;           // "&Edit" button and menu item
    TItemState remove;         // "&Delete" button and menu item
    TItemState exit;           // "E&xit" button, menu "E&xit ", menu "&File"
    TItemState moves;          // the record move buttons and their menu items
    TItemState dial;           // "Dial Phone &1", "Dial Phone &2"
    TItemState searchMemo;     // "Search &Memo"
    TItemState date;           // the "Date" button
    TItemState tools;          // "Search", "Browse", "Labels", "Letters", "Envelopes", "Reports",
                               // menus "&Sort", "&Print", "&Utilities", "&Export ", "Create a
                               // Duplicate &Record (Clone)"
    TItemState filter;         // "Filter", "Set &Filter"
    TItemState clearFilter;    // the "Clear Filter" button
    TItemState filterCommands; // "&Save Filter", "&Clear Filter", "&Tag All Filter Matches"
    TItemState recordMenu;     // the "&Record" menu
    TItemState fileCommands;   // "Ed&it" menu, "&Rebuild Indexes for this file", "Import from
                               // &ASCII File", "Import from &DBF File"
};

struct TEditState {
    bool fileOpen = false;
    bool editing = false;   // the table is in edit or insert state
    bool hasRecord = false; // the table is not past its last visible record
    bool filterSet = false;

    // A file is open, nothing is being edited and a record is shown.
    bool isReady() const { return fileOpen && !editing && hasRecord; }

    // The states of every item. An item with no rule for being shown is always shown; one
    // with no rule for being enabled is always enabled.
    TButtonStates SetButtons() const;
};
