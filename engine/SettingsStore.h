// Loading and saving the settings from and to the per-user profile.
#pragma once

#include "IProfile.h"
#include "VexaSettings.h"

#include <string>
#include <string_view>

namespace vexa {

inline constexpr const char *kSectionOptions = "Options";
inline constexpr const char *kSectionSignalNames = "Signal Names";
inline constexpr const char *kKeyIncomingColor = "Incoming Color";
inline constexpr const char *kKeyOutgoingColor = "Outgoing Color";
inline constexpr const char *kKeyOpenDirectory = "Open Directory";
inline constexpr const char *kKeySaveDirectory = "Save Directory";

// Longest text value the profile keeps; longer values are cut.
inline constexpr size_t kMaxProfileText = 259;

// Reads every setting but the two colours (those are read at start-up by ReadColors).
bool LoadSettings(IProfile &profile, VexaSettings &settings);
// Writes the "Options" and "Signal Names" sections.
bool SaveSettings(IProfile &profile, VexaSettings &settings);
// Takes "Incoming Color" and "Outgoing Color" when they are stored and not -1.
void ReadColors(IProfile &profile, VexaSettings &settings);

// The folder for temporary files with its trailing "/": TMPDIR, else /tmp.
std::string TemporaryFolder();

// The C library's string-to-integer rule: leading white space, an optional sign, digits
// up to the first non-digit; no digits give 0. Values beyond 32 bits are clamped.
int32_t DecimalValue(std::string_view text);

}  // namespace vexa
