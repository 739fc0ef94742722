// Command, menu, accelerator and dialog ids of the program, by the numbers its menus,
// tool bar, accelerators and help topics use.
#pragma once

namespace vexa::ids {

// Framework commands.
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_CLOSE = 57602;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT_PREVIEW = 57609;
constexpr int ID_FILE_MRU_FIRST = 57616;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP_INDEX = 57666;
constexpr int ID_HELP = 57667;
constexpr int ID_WINDOW_NEW = 57648;
constexpr int ID_WINDOW_ARRANGE = 57649;
constexpr int ID_WINDOW_CASCADE = 57650;
constexpr int ID_WINDOW_TILE_HORZ = 57651;
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;

constexpr int ID_FILE_NEW = 57600;
// Go to a signal by its sequence number or its time (Ctrl+G).
constexpr int ID_GOTO_SIGNAL = 32860;
// The find bar of the text pane in use (the result text when the list has the focus).
constexpr int ID_FIND_TEXT = 32861;
// View > Call Flow (Ctrl+L) and View > Summary.
constexpr int ID_VIEW_CALL_FLOW = 32862;
constexpr int ID_VIEW_SUMMARY = 32863;
// Interpret > Copy: the selection of the pane in use, for the mouse (the panes take Ctrl+C).
constexpr int ID_EDIT_COPY = 32864;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;

// The trace view and the document's commands.
constexpr int ID_CONTEXT_INTERPRET = 32772;
constexpr int ID_INTERPRET_CONTENTS = 32804;
constexpr int ID_INTERPRET_START = 32808;
constexpr int ID_CONTEXT_FONT = 32811;
constexpr int ID_CONTEXT_ALL_ROWS = 32816;
constexpr int ID_CONTEXT_HEX = 32817;
constexpr int ID_PROTOCOL_BASE = 32825;  // + protocol number 1 to 6: 32826 to 32831
constexpr int ID_SIGNAL_NAMES = 32832;
constexpr int ID_SAVE_CURRENT_SETTINGS = 32833;
constexpr int ID_COLOR_SETTINGS = 32836;

// Dialog resources, for their help topics.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_COLOUR_SETTINGS = 130;
constexpr int IDD_SIGNAL_NAMES = 158;
constexpr int IDD_IP_FILTER = 159;

// The result text view's menu 147 "Results".
constexpr int ID_RESULTS_SAVE = 32799;
constexpr int ID_RESULTS_PRINT_PREVIEW = 32800;
constexpr int ID_RESULTS_PRINT = 32801;
constexpr int ID_RESULTS_FONT = 32812;

// The message list's context menu.
constexpr int ID_LIST_OUTGOING = 500;
constexpr int ID_LIST_INCOMING = 501;
constexpr int ID_LIST_ALL = 502;
constexpr int ID_LIST_FILTER = 503;
constexpr int ID_LIST_GOTO = 504;
constexpr int ID_LIST_COLUMN_FIRST = 505;  // 505 to 510: the six column switches
constexpr int ID_LIST_FONT = 511;
constexpr int ID_LIST_PRINT_PREVIEW = 512;
constexpr int ID_LIST_PRINT = 513;
// Beyond the fourteen commands of the list's own menu: the selected row's call as a ladder.
constexpr int ID_LIST_CALL_FLOW = 514;

// Help contexts: a dialog's Help button opens topic kHelpDialogBase + its resource id.
constexpr int kHelpDialogBase = 0x20000;

}  // namespace vexa::ids
