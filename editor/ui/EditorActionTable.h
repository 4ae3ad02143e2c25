#pragma once

#include <vector>

// One command of the editor window as data: its name (also the QAction's
// object name), the category it is filed under, the texts the user sees and
// its shortcut. Menus, toolbar buttons and shortcuts all refer to the action by
// name, so this table is the one place where a command's texts are written.
struct EditorActionEntry
{
    enum Flag {
        NoFlags = 0,
        // Ticks and unticks itself when triggered.
        AutoCheck = 1,
        // Starts with a check mark (a tool that is active from the start).
        Checked = 2,
        // Present but not shown on any menu or toolbar.
        Hidden = 4,
    };

    const char* name;
    const char* category;
    // Texts are UTF-8; several captions hold non-Latin letters on purpose.
    const char* caption;
    const char* hint;
    // In QKeySequence's portable text form; empty for none.
    const char* shortcut;
    int flags;
};

// Every action of the editor window, in the order they are listed to the user.
const std::vector<EditorActionEntry>& EditorActionTable();
