// Any bytes as the user's profile file: read by the settings reader of vexa-interpret and
// loaded into the settings as at start-up, and the reader's unescaping of keys and values.
#include "IniProfileReader.h"
#include "SettingsStore.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

using namespace vexa;

namespace {

const std::string &ProfilePath() {
    static const std::string path = [] {
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vexa-fuzz-profile-XXXXXX";
        const int fd = mkstemp(pattern.data());
        if (fd < 0) std::abort();
        close(fd);
        std::atexit([] { unlink(ProfilePath().c_str()); });
        return pattern;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    {
        std::ofstream out(ProfilePath(), std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    IniProfileReader profile(ProfilePath());
    VexaSettings settings;
    LoadSettings(profile, settings);
    ReadColors(profile, settings);
    // What the file holds is found under its own names: the first line as a section and
    // as a key.
    const std::string first(text.substr(0, text.find('\n')));
    profile.GetProfileString(first, first, "");
    profile.GetProfileInt(kSectionOptions, first, 0);

    IniProfileReader::UnescapeKey(text);
    IniProfileReader::UnescapeValue(text);
    ProfileInteger(text, 7);
    DecimalValue(text);
    return 0;
}
