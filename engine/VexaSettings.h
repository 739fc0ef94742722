// The user's settings as the program holds them while it runs: the setting fields of the
// application object, in a plain struct that the engine reads and the windows change.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vexa {

// A window's font as the settings keep it: the fields of a logical-font record.
struct FontRecord {
    int32_t lfHeight = -13;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 700;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 1;
    uint8_t lfClipPrecision = 2;
    uint8_t lfQuality = 1;
    uint8_t lfPitchAndFamily = 34;
    std::array<char, 32> lfFaceName{'S', 'y', 's', 't', 'e', 'm', '\0'};

    std::string FaceName() const { return std::string(lfFaceName.data()); }
    // Copies at most 31 characters of name; a longer name is cut.
    void SetFaceName(std::string_view name);
    bool operator==(const FontRecord &) const = default;
};

// A colour 0x00BBGGRR, red in the low byte.
using ColorRef = uint32_t;
constexpr ColorRef Rgb(int r, int g, int b) {
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

constexpr int kColumnCount = 6;
constexpr std::array<int32_t, kColumnCount> kDefaultColumnWidths = {100, 100, 150, 100, 150, 300};

struct VexaSettings {
    std::string m_strDliuiDataLong;
    std::string m_strDliDataLong;
    std::string m_strDliData;
    std::string m_strDlrDataLong;
    std::string m_strDlrData;
    std::string m_strTempPath;
    int32_t m_nRed = 0;
    int32_t m_nGreen = 0;
    int32_t m_nBlue = 0;
    bool m_bWriteAllRows = false;
    bool m_bWriteHexInfo = false;
    bool m_bOverwriteFile = false;
    int32_t m_nDefaultProtocol = 0;
    int32_t m_nCurrentProtocol = 0;
    FontRecord m_lfTraceView;
    FontRecord m_lfResultView;
    FontRecord m_lfMessageList;
    std::array<int32_t, kColumnCount> m_nColumnWidth{};
    ColorRef m_crIncoming = 0x000000FF;
    ColorRef m_crOutgoing = 0x00FF0000;

    // The five signal names in the order the ISDN component takes them: DlrData,
    // DlrDataLong, DliData, DliDataLong, DliuiDatalong.
    std::array<std::string, 5> SignalNames() const {
        return {m_strDlrData, m_strDlrDataLong, m_strDliData, m_strDliDataLong, m_strDliuiDataLong};
    }
};

}  // namespace vexa
