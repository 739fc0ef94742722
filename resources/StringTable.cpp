#include "StringTable.h"

#include <unordered_map>

namespace vexa {

namespace {

const std::unordered_map<int, std::string> &Table() {
    static const std::unordered_map<int, std::string> table = {
        {IDS_OLE_INIT_FAILED, "OLE initialization failed.  Make sure that the OLE libraries are the correct version."},
        {IDS_MAINFRAME, "Vexa"},
        {IDS_DOCTYPE, "\nVexaCli\nVexaCli\n\n\nVexaClient.Document\nVexaCli Document"},
        {IDS_NO_PROTOCOL, "Please select a protocol to work with..."},
        {IDS_PROTOCOL_NOT_SUPPORTED, "The chosen protocol is not supported yet..."},
        {IDS_NOT_INSTALLED,
         "Vexa has not been installed properly or entry not found in the registry. Please call Vendrel Help "
         "Desk for assistance..."},
        {IDS_PROTOCOL_NONE + 0, "None"},
        {IDS_PROTOCOL_NONE + 1, "ISDN - Generic"},
        {IDS_PROTOCOL_NONE + 2, "ISDN - French"},
        {IDS_PROTOCOL_NONE + 3, "ISDN - German"},
        {IDS_PROTOCOL_NONE + 4, "ISDN - Australian"},
        {IDS_PROTOCOL_NONE + 5, "DECT/GDI"},
        {IDS_PROTOCOL_NONE + 6, "IP"},
        {IDS_PROTOCOL_DISCRIMINATOR, "Protocol Discriminator"},
        {IDS_SCP_MESSAGE, "SCP Message"},
        {IDS_CR_FLAG_SET, " (CR Flag Set)"},
        {IDS_CR_FLAG_NOT_SET, " (CR Flag Not Set)"},
        {IDS_CALL_REFERENCE, "Call Reference"},
        {IDS_SCP_ID, "SCP ID"},
        {IDS_NO_ITEMS, "No items to display..."},
        {IDS_TRANSACTION_VALUE, "Transaction Value"},
        {IDS_ORIGINATOR, "Originator"},
        {IDS_DESTINATION, "Destination"},
        {IDS_SAME_FILE_NAME, "Source file name and the saved output file name cannot be the same"},
        {IDS_COL_SIG_SEQ_NO, "Sig Seq No"},
        {IDS_COL_MSG_DIRECTION, "Msg Direction"},
        {IDS_COL_MESSAGE, "Message"},
        {IDS_COL_TIME, "Time"},
        {IDS_COL_MESSAGE_FROM, "Message From"},
        {IDS_COL_MESSAGE_TO, "Message To"},
        {IDS_OUTGOING, "Outgoing"},
        {IDS_INCOMING, "Incoming"},
        {IDS_SEARCH_OUTGOING, "SWHW"},
        {IDS_SEARCH_INCOMING, "HWSW"},
        {IDS_MENU_OUTGOING, "Outgoing Message: SWHW"},
        {IDS_MENU_INCOMING, "Incoming Message: HWSW"},
        {IDS_MENU_ALL, "All"},
        {IDS_MENU_FILTER, "Filter"},
        {IDS_MENU_GOTO, "Go To"},
        {IDS_MENU_PRINT, "Print"},
        {IDS_MENU_PRINT_PREVIEW, "Print Preview"},
        {IDS_MENU_FONT, "Font"},
        {IDS_MENU_CALL_FLOW, "Call Flow"},
        {IDS_PROGID_ISDN, "VexaParser"},
        {IDS_PROGID_DECT, "VexaDectParser"},
        {IDS_PROGID_IP, "VexaIpParser"},
        {IDS_NOT_A_TRACE, "Unable to parse the input file.\nIt is not a valid signal trace file"},
        {IDS_OUTPUT_NOT_WRITABLE, "Unable to write the interpretation output file:\n"},
        {IDS_APP_TITLE, "VexaClient"},
        {IDS_USER_PART, "User Part"},
        {IDS_PROMPT_FILE_OPEN, "Open an existing document\nOpen"},
        {IDS_PROMPT_INTERPRET, "Interpret log file\nInterpret"},
        {IDS_PROMPT_INTERPRET_CONTENTS, "Interpret Contents\nInterpret"},
        {IDS_PROMPT_HELP, "Open the help file for Vexa\nHelp"},
        {IDS_READY, "Ready"},
        {IDS_INCOMPLETE_MESSAGE, "Incomplete Message: "},
    };
    return table;
}

}  // namespace

const std::string &LoadString(int id) {
    static const std::string empty;
    const auto &table = Table();
    auto it = table.find(id);
    return it == table.end() ? empty : it->second;
}

const std::string &ProtocolName(int protocol) {
    return LoadString(protocol >= 1 && protocol <= 6 ? IDS_PROTOCOL_NONE + protocol : IDS_PROTOCOL_NONE);
}

}  // namespace vexa
