// What the document needs of its views and of the application around it. The windows
// implement these; vexa-interpret and the tests implement them without windows.
#pragma once

#include "VexaSettings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vexa {

struct ContentSize {
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const ContentSize &) const = default;
};

// The direction column of the message list: "Send" for exactly "SWHW", else "Received".
inline std::string_view ListDirectionText(std::string_view direction) {
    return direction == "SWHW" ? "Send" : "Received";
}

// The message list, as the document's fills reach it.
class IListView {
public:
    virtual ~IListView() = default;
    virtual bool AddRow(int row, int16_t sequence, const std::string &direction, const std::string &signalType,
                        const std::string &message, const std::string &time, const std::string &from,
                        const std::string &to, bool valid) = 0;
    virtual bool ReplaceRow(int row, int16_t sequence, const std::string &direction, const std::string &signalType,
                            const std::string &message, const std::string &time, const std::string &from,
                            const std::string &to, bool valid) = 0;
    virtual void ClearList() = 0;
    virtual int GetRowCount() const = 0;
    // The text of a row's column (column 0: the sequence number as shown).
    virtual std::string GetItemText(int row, int column) const = 0;
    // Gives the list the keyboard focus.
    virtual void FocusList() = 0;
};

// The result text view.
class IResultView {
public:
    virtual ~IResultView() = default;
    virtual void SetContentSizes(ContentSize total, ContentSize page, ContentSize line) = 0;
    virtual void Repaint() = 0;
};

// The trace view.
class ITraceView {
public:
    virtual ~ITraceView() = default;
    // Shows the document's protocol name in the status bar.
    virtual void ShowProtocolInStatusBar() = 0;
    virtual void Repaint() = 0;
};

// The application and the main window, as a document sees them.
class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;
    virtual VexaSettings &Settings() = 0;
    // Reads a value of the per-user profile ("Open Directory", "Save Directory").
    virtual std::string ReadProfileString(const std::string &section, const std::string &key,
                                          const std::string &defaultValue) = 0;
    // Writes a value of the per-user profile at once ("Open Directory").
    virtual void WriteProfileString(const std::string &section, const std::string &key, const std::string &value) = 0;
    // A message box titled "Vexa" with the stop icon.
    virtual void ShowMessage(const std::string &text) = 0;
    // Whether a newly opened trace is interpreted at once.
    virtual bool InterpretOnOpen() const = 0;
    // Called now and then during a run with the part of the trace read so far.
    virtual void RunProgress(int64_t /*bytesRead*/, int64_t /*bytesTotal*/) {}
    // Called when a run has ended, whatever its outcome.
    virtual void RunFinished() {}
};

}  // namespace vexa
