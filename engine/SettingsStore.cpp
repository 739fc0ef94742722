#include "SettingsStore.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

namespace vexa {

namespace {

struct FontKey {
    const char *suffix;
    bool wide;  // 32-bit field; otherwise 8-bit
};

constexpr FontKey kFontKeys[] = {
    {"Height", true},    {"Width", true},        {"Escapement", true},     {"Orientation", true},
    {"Weight", true},    {"Italic", false},      {"Underline", false},     {"StrikeOut", false},
    {"CharSet", false},  {"OutPrecision", false}, {"ClipPrecision", false}, {"Quality", false},
    {"PitchAndFamily", false},
};

constexpr const char *kColumnKeys[kColumnCount] = {"SigSeqNo", "MsgDirection", "Message", "Time", "MsgFrom", "MsgTo"};

// Pointers to a font record's numeric fields in key order.
struct FontFields {
    int32_t *wide[5];
    uint8_t *narrow[8];
};

FontFields FieldsOf(FontRecord &f) {
    return {{&f.lfHeight, &f.lfWidth, &f.lfEscapement, &f.lfOrientation, &f.lfWeight},
            {&f.lfItalic, &f.lfUnderline, &f.lfStrikeOut, &f.lfCharSet, &f.lfOutPrecision, &f.lfClipPrecision,
             &f.lfQuality, &f.lfPitchAndFamily}};
}

std::string ReadText(IProfileReader &profile, const char *section, const std::string &key, const char *def) {
    std::string value = profile.GetProfileString(section, key, def);
    if (value.size() > kMaxProfileText) value.resize(kMaxProfileText);
    return value;
}

bool ReadYesNo(IProfileReader &profile, const char *key) {
    std::string value = ReadText(profile, kSectionOptions, key, "YES");
    std::transform(value.begin(), value.end(), value.begin(), [](unsigned char c) { return std::toupper(c); });
    return value == "YES";
}

const char *YesNo(bool v) { return v ? "YES" : "NO"; }

void ReadFont(IProfileReader &profile, const std::string &prefix, FontRecord &font) {
    const FontRecord defaults;
    FontRecord def = defaults;
    FontFields fields = FieldsOf(font);
    FontFields defFields = FieldsOf(def);
    int wide = 0, narrow = 0;
    for (const FontKey &k : kFontKeys) {
        if (k.wide) {
            std::string text = ReadText(profile, kSectionOptions, prefix + k.suffix,
                                        std::to_string(*defFields.wide[wide]).c_str());
            *fields.wide[wide++] = DecimalValue(text);
        } else {
            std::string text = ReadText(profile, kSectionOptions, prefix + k.suffix,
                                        std::to_string(*defFields.narrow[narrow]).c_str());
            *fields.narrow[narrow++] = static_cast<uint8_t>(DecimalValue(text) & 0xFF);
        }
    }
    font.SetFaceName(ReadText(profile, kSectionOptions, prefix + "FaceName", "System"));
}

void WriteFont(IProfile &profile, const std::string &prefix, FontRecord font) {
    FontFields fields = FieldsOf(font);
    int wide = 0, narrow = 0;
    for (const FontKey &k : kFontKeys) {
        std::string value = k.wide ? std::to_string(*fields.wide[wide++]) : std::to_string(*fields.narrow[narrow++]);
        profile.WriteProfileString(kSectionOptions, prefix + k.suffix, value);
    }
    profile.WriteProfileString(kSectionOptions, prefix + "FaceName", font.FaceName());
}

}  // namespace

void FontRecord::SetFaceName(std::string_view name) {
    lfFaceName.fill('\0');
    size_t n = std::min(name.size(), lfFaceName.size() - 1);
    std::copy_n(name.begin(), n, lfFaceName.begin());
}

int32_t DecimalValue(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<int64_t>(INT_MAX) + 1) value = static_cast<int64_t>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

int32_t ProfileInteger(std::string_view text, int32_t defaultValue) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return defaultValue;
    return DecimalValue(text);
}

std::string TemporaryFolder() {
    std::string folder;
    if (const char *env = std::getenv("TMPDIR"); env && *env) folder = env;
    else folder = "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

bool LoadSettings(IProfileReader &profile, VexaSettings &s) {
    s.m_strTempPath = TemporaryFolder();
    s.m_nRed = profile.GetProfileInt(kSectionOptions, "Red", 0);
    s.m_nGreen = profile.GetProfileInt(kSectionOptions, "Green", 0);
    s.m_nBlue = profile.GetProfileInt(kSectionOptions, "Blue", 0);
    s.m_bWriteAllRows = ReadYesNo(profile, "WriteAllRows");
    s.m_bWriteHexInfo = s.m_bWriteAllRows ? true : ReadYesNo(profile, "WriteHexInfo");
    s.m_bOverwriteFile = ReadYesNo(profile, "OverwriteFile");
    s.m_nDefaultProtocol = DecimalValue(ReadText(profile, kSectionOptions, "DefaultProtocol", "1"));
    s.m_nCurrentProtocol = s.m_nDefaultProtocol;
    ReadFont(profile, "C", s.m_lfTraceView);
    ReadFont(profile, "E", s.m_lfResultView);
    ReadFont(profile, "L", s.m_lfMessageList);
    for (int i = 0; i < kColumnCount; ++i)
        s.m_nColumnWidth[i] = DecimalValue(
            ReadText(profile, kSectionOptions, kColumnKeys[i], std::to_string(kDefaultColumnWidths[i]).c_str()));
    s.m_strDlrData = ReadText(profile, kSectionSignalNames, "DlrData", "DLRDATA");
    s.m_strDlrDataLong = ReadText(profile, kSectionSignalNames, "DlrDataLong", "DLRDATALONG");
    s.m_strDliData = ReadText(profile, kSectionSignalNames, "DliData", "DLIDATA");
    s.m_strDliDataLong = ReadText(profile, kSectionSignalNames, "DliDataLong", "DLIDATALONG");
    s.m_strDliuiDataLong = ReadText(profile, kSectionSignalNames, "DliuiDatalong", "DLIUIDATALONG");
    return true;
}

bool SaveSettings(IProfile &profile, VexaSettings &s) {
    s.m_strTempPath = TemporaryFolder();
    profile.WriteProfileString(kSectionOptions, "WriteAllRows", YesNo(s.m_bWriteAllRows));
    profile.WriteProfileString(kSectionOptions, "WriteHexInfo", YesNo(s.m_bWriteAllRows || s.m_bWriteHexInfo));
    profile.WriteProfileString(kSectionOptions, "OverwriteFile", YesNo(s.m_bOverwriteFile));
    profile.WriteProfileString(kSectionOptions, "DefaultProtocol", std::to_string(s.m_nDefaultProtocol));
    WriteFont(profile, "C", s.m_lfTraceView);
    WriteFont(profile, "E", s.m_lfResultView);
    WriteFont(profile, "L", s.m_lfMessageList);
    for (int i = 0; i < kColumnCount; ++i)
        profile.WriteProfileString(kSectionOptions, kColumnKeys[i], std::to_string(s.m_nColumnWidth[i]));
    auto cut = [](const std::string &v) { return v.size() > kMaxProfileText ? v.substr(0, kMaxProfileText) : v; };
    profile.WriteProfileString(kSectionSignalNames, "DlrData", cut(s.m_strDlrData));
    profile.WriteProfileString(kSectionSignalNames, "DlrDataLong", cut(s.m_strDlrDataLong));
    profile.WriteProfileString(kSectionSignalNames, "DliData", cut(s.m_strDliData));
    profile.WriteProfileString(kSectionSignalNames, "DliDataLong", cut(s.m_strDliDataLong));
    profile.WriteProfileString(kSectionSignalNames, "DliuiDatalong", cut(s.m_strDliuiDataLong));
    return true;
}

void ReadColors(IProfileReader &profile, VexaSettings &s) {
    int32_t incoming = profile.GetProfileInt("", kKeyIncomingColor, -1);
    if (incoming != -1) s.m_crIncoming = static_cast<ColorRef>(incoming);
    int32_t outgoing = profile.GetProfileInt("", kKeyOutgoingColor, -1);
    if (outgoing != -1) s.m_crOutgoing = static_cast<ColorRef>(outgoing);
}

}  // namespace vexa
