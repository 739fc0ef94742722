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
bool LoadSettings(IProfileReader &profile, VexaSettings &settings);
// Writes the "Options" and "Signal Names" sections.
bool SaveSettings(IProfile &profile, VexaSettings &settings);
// Takes "Incoming Color" and "Outgoing Color" when they are stored and not -1.
void ReadColors(IProfileReader &profile, VexaSettings &settings);

// An integer value of the profile: the decimal value of the text when it starts with a
// number, else the default (what the platform's store answers for a value that is no
// integer).
int32_t ProfileInteger(std::string_view text, int32_t defaultValue);

// The folder for temporary files with its trailing "/": TMPDIR, else /tmp.
std::string TemporaryFolder();

// The C library's string-to-integer rule: leading white space, an optional sign, digits
// up to the first non-digit; no digits give 0. Values beyond 32 bits are clamped.
int32_t DecimalValue(std::string_view text);

}  // namespace vexa
