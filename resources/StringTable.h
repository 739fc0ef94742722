// The program's own texts, by string id. Every message, label and menu text that the
// program shows or writes is taken from here, so each text lives in one place.
#pragma once

#include <string>

namespace vexa {

enum StringId : int {
    IDS_OLE_INIT_FAILED = 100,
    IDS_MAINFRAME = 128,
    IDS_DOCTYPE = 129,
    IDS_NO_PROTOCOL = 2000,
    IDS_PROTOCOL_NOT_SUPPORTED = 2001,
    IDS_NOT_INSTALLED = 2002,
    IDS_PROTOCOL_NONE = 2100,  // 2100 + protocol number: the protocol's display name
    IDS_PROTOCOL_DISCRIMINATOR = 3000,
    IDS_SCP_MESSAGE = 3001,
    IDS_CR_FLAG_SET = 3002,
    IDS_CR_FLAG_NOT_SET = 3003,
    IDS_CALL_REFERENCE = 3004,
    IDS_SCP_ID = 3005,
    IDS_NO_ITEMS = 3006,
    IDS_TRANSACTION_VALUE = 3007,
    IDS_ORIGINATOR = 3008,
    IDS_DESTINATION = 3009,
    IDS_SAME_FILE_NAME = 3010,
    IDS_COL_SIG_SEQ_NO = 40000,
    IDS_COL_MSG_DIRECTION = 40001,
    IDS_COL_MESSAGE = 40003,
    IDS_COL_TIME = 40004,
    IDS_COL_MESSAGE_FROM = 40005,
    IDS_COL_MESSAGE_TO = 40006,
    IDS_OUTGOING = 40007,
    IDS_INCOMING = 40008,
    IDS_SEARCH_OUTGOING = 40009,
    IDS_SEARCH_INCOMING = 40010,
    IDS_MENU_OUTGOING = 40011,
    IDS_MENU_INCOMING = 40012,
    IDS_MENU_ALL = 40013,
    IDS_MENU_FILTER = 40014,
    IDS_MENU_GOTO = 40015,
    IDS_MENU_PRINT = 40016,
    IDS_MENU_PRINT_PREVIEW = 40017,
    IDS_MENU_FONT = 40018,
    IDS_MENU_CALL_FLOW = 40019,
    IDS_PROGID_ISDN = 40020,
    IDS_PROGID_DECT = 40021,
    IDS_PROGID_IP = 40022,
    IDS_NOT_A_TRACE = 50000,
    IDS_OUTPUT_NOT_WRITABLE = 50001,
    IDS_APP_TITLE = 57344,
    IDS_USER_PART = 61217,
    // Prompts of commands: the status-bar text, a line break, the tool tip.
    IDS_PROMPT_FILE_OPEN = 57601,
    IDS_PROMPT_INTERPRET = 32808,
    IDS_PROMPT_INTERPRET_CONTENTS = 32804,
    IDS_PROMPT_HELP = 57667,
    IDS_READY = 57345,
    IDS_INCOMPLETE_MESSAGE = 61218,
};

// The text of a string id; empty for an id that has none.
const std::string &LoadString(int id);

// The display name of a protocol number: "None" for any number outside 1 to 6.
const std::string &ProtocolName(int protocol);

}  // namespace vexa
