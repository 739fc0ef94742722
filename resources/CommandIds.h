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

// Help contexts: a dialog's Help button opens topic kHelpDialogBase + its resource id.
constexpr int kHelpDialogBase = 0x20000;

}  // namespace vexa::ids
