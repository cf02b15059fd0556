#pragma once
// The commands of the main window with the identifiers the program has always
// used, their menu texts and their status-bar prompts and tool tips.

#include <QString>
#include <vector>

enum CommandId : int {
    ID_DATEN_AENDERN = 32771,
    ID_GRAFIK = 32772,
    ID_TEXT = 32773,
    ID_HILFE = 32777,
    ID_ERGEBNISSE_SPEICHERN = 32780,
    ID_ERGEBNISSE_EINLESEN = 32781,
    ID_GRAFIKLUPE = 32783,
    ID_GRAFIK_EINPASSEN = 32784,
    ID_ANPASSUNG = 32790,
    ID_HAVLENA_ODEH = 32791,
    ID_ANTRIEBSINDIZES = 32792,
    ID_UNSICHERHEITSANALYSE = 32793,
    ID_WASSERZUFLUSS = 32794,
    ID_PROGNOSE = 32795,
    ID_UEBERSICHT = 32796,
    ID_FAELLE_VERGLEICHEN = 32797,
    ID_FILE_EXPORT = 32798,
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616,
    ID_EDIT_UNDO = 57643,
    ID_EDIT_REDO = 57644,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

// A command's prompt as the string table holds it: the status-bar text, then
// after a line break the tool tip (absent for commands without a button).
struct CommandPrompt {
    QString status;
    QString toolTip;
};
CommandPrompt PromptOf(int id);

// One entry of a menu: a command with its text, or a separator (id 0).
struct MenuEntry {
    int id;
    const char* text;
};
struct MenuDefinition {
    const char* title;
    std::vector<MenuEntry> entries;
};

// The menu bar, menu by menu, in order.
const std::vector<MenuDefinition>& MenuBarDefinition();
// The context menu of both views.
const std::vector<MenuEntry>& ContextMenuDefinition();
// The toolbar buttons in order; 0 is a separator.
const std::vector<int>& ToolbarDefinition();
