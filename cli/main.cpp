// vexa-interpret: interprets a signal trace without windows, the way a trace window does,
// and prints the interpretation or the message list.
#include "CVexaClientDoc.h"
#include "CallFlowSvg.h"
#include "TraceSummary.h"
#include "CliViews.h"
#include "DispatchDriver.h"
#include "FilteredFills.h"
#include "IniProfileReader.h"
#include "SettingsStore.h"
#include "StringTable.h"
#include "TempOutputs.h"

#include <cctype>
#include <exception>
#include <new>
#include <system_error>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <cerrno>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <unistd.h>

using namespace vexa;

namespace {

// Exit codes, one per kind of failure.
enum ExitCode {
    kExitOk = 0,
    kExitUsage = 2,
    kExitTrace = 3,       // the trace is missing or unreadable
    kExitNoProtocol = 4,  // no protocol chosen
    kExitNoComponent = 5, // the protocol's parser component cannot be had
    kExitNotATrace = 6,   // no record line in the file
    kExitOutput = 7,      // the output cannot be written or copied
    kExitMemory = 8,      // memory ran out, or another failure of the program's own
};

const char *kUsage =
    "Usage: vexa-interpret [options] TRACE\n"
    "Interprets a Korvan signal trace with a Vexa parser component and prints the\n"
    "interpretation text.\n"
    "\n"
    "Options:\n"
    "  -p, --protocol N     protocol: 1 ISDN Generic, 2 ISDN French, 3 ISDN German,\n"
    "                       4 ISDN Australian, 5 DECT/GDI, 6 IP (default: the settings)\n"
    "  -o, --output FILE    copy the interpretation to FILE instead of printing it\n"
    "                       (never onto the trace itself)\n"
    "      --all-rows       include every trace line (\"Include all Rows\" on)\n"
    "      --no-all-rows    include only the lines of the messages\n"
    "      --hex            keep the DATA rows with each message (\"Include Hex\" on)\n"
    "      --no-hex         leave the DATA rows out\n"
    "      --list           print the message list instead: sequence number, direction,\n"
    "                       message, time, from, to, and \"invalid\" for red rows,\n"
    "                       separated by tabs\n"
    "      --direction DIR  list only SWHW (outgoing) or HWSW (incoming) signals and\n"
    "                       show only their messages\n"
    "      --filter KEY=VALUE  list only the signals the message list's Filter keeps and\n"
    "                       show only their messages: callref=\"01 82\" (call reference\n"
    "                       octets), calling=NUMBER, equ=EQU (ISDN); scpid=ID,\n"
    "                       tran=originator|destination (DECT); ip=RAS|H245|H2250 (IP)\n"
    "      --flow SEQ --svg FILE  write the ladder diagram of the call of signal SEQ\n"
    "                       to FILE as an SVG picture\n"
    "      --summary        print the trace summary: messages per type and direction,\n"
    "                       causes, invalid messages, calls that never ended\n"
    "  -h, --help           show this help\n"
    "  -V, --version        show the version\n"
    "\n"
    "Settings are read from the Vexa profile; the options change them for this run only.\n"
    "Exit status: 0 done, 2 usage, 3 trace missing or unreadable, 4 no protocol,\n"
    "5 parser component missing, 6 not a signal trace, 7 output not written,\n"
    "8 not enough memory (or another failure of the program's own).\n";

struct Options {
    std::string trace;
    std::optional<int> protocol;
    std::string output;
    std::optional<bool> allRows;
    std::optional<bool> hex;
    bool list = false;
    std::string direction;
    // --filter: the filter kind (1 to 5, or 6 for the IP protocol) and the component's key.
    int filterKind = 0;
    std::string filterKey;
    std::string filterName;
    int flowSequence = -1;  // --flow
    std::string svg;
    bool summary = false;
};

constexpr int kFilterIpProtocol = 6;

// Reads --filter's KEY=VALUE into the kind and the key the parser component looks for.
bool ParseFilter(const std::string &text, Options &o, std::string &error) {
    const size_t eq = text.find('=');
    const std::string name = eq == std::string::npos ? text : text.substr(0, eq);
    const std::string value = eq == std::string::npos ? std::string() : text.substr(eq + 1);
    o.filterName = name;
    if (eq == std::string::npos || value.empty()) {
        error = "--filter needs KEY=VALUE, e.g. callref=\"01 82\"";
        return false;
    }
    if (name == "callref") {
        // Octets as two hexadecimal digits each, separated by blanks.
        std::string entry, octet;
        for (size_t i = 0; i <= value.size(); ++i) {
            const char c = i < value.size() ? value[i] : ' ';
            if (c == ' ' || c == '\t') {
                if (octet.empty()) continue;
                if (octet.size() != 2 || !std::isxdigit(static_cast<unsigned char>(octet[0])) ||
                    !std::isxdigit(static_cast<unsigned char>(octet[1]))) {
                    error = "--filter callref takes octets of two hexadecimal digits, not " + value;
                    return false;
                }
                entry += (entry.empty() ? "" : "  ") + octet;
                octet.clear();
            } else {
                octet += c;
            }
        }
        if (entry.empty()) {
            error = "--filter callref takes octets of two hexadecimal digits, not " + value;
            return false;
        }
        o.filterKind = kFilterCallReference;
        o.filterKey = CallReferenceKey(entry);
    } else if (name == "calling") {
        o.filterKind = kFilterCallingParty;
        o.filterKey = value;
    } else if (name == "equ") {
        o.filterKind = kFilterEquNumber;
        o.filterKey = EquNumberKey(value);
    } else if (name == "scpid") {
        o.filterKind = kFilterScpId;
        o.filterKey = value;
    } else if (name == "tran") {
        std::string side = value;
        for (char &c : side) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (side != "originator" && side != "destination") {
            error = "--filter tran takes originator or destination, not " + value;
            return false;
        }
        o.filterKind = kFilterTransactionFlag;
        o.filterKey = side == "originator" ? "0" : "1";
    } else if (name == "ip") {
        if (value != "RAS" && value != "H245" && value != "H2250") {
            error = "--filter ip takes RAS, H245 or H2250, not " + value;
            return false;
        }
        o.filterKind = kFilterIpProtocol;
        o.filterKey = value;
    } else {
        error = "unknown filter " + name + " (callref, calling, equ, scpid, tran or ip)";
        return false;
    }
    return true;
}

// Whether a filter kind fits the protocol of the interpretation.
bool FilterFitsProtocol(int kind, int protocol) {
    if (kind == kFilterIpProtocol) return protocol == 6;
    if (kind == kFilterScpId || kind == kFilterTransactionFlag) return protocol == 5;
    return protocol >= 1 && protocol <= 4;
}

int UsageError(const std::string &text) {
    std::fprintf(stderr, "vexa-interpret: %s\nTry 'vexa-interpret --help'.\n", text.c_str());
    return kExitUsage;
}

// Parses the command line; returns an exit code to stop with, or -1 to go on.
int ParseOptions(int argc, char **argv, Options &o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string &out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "-h" || a == "--help") {
            std::fputs(kUsage, stdout);
            return kExitOk;
        } else if (a == "-V" || a == "--version") {
            std::printf("vexa-interpret (Vexa) %s\n", VEXA_VERSION);
            return kExitOk;
        } else if (a == "-p" || a == "--protocol") {
            if (!value(v)) return UsageError(a + " needs a protocol number");
            char *end = nullptr;
            long n = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end || n < -32768 || n > 32767) return UsageError("not a protocol number: " + v);
            o.protocol = static_cast<int>(n);
        } else if (a == "-o" || a == "--output") {
            if (!value(o.output) || o.output.empty()) return UsageError(a + " needs a file name");
        } else if (a == "--all-rows") {
            o.allRows = true;
        } else if (a == "--no-all-rows") {
            o.allRows = false;
        } else if (a == "--hex") {
            o.hex = true;
        } else if (a == "--no-hex") {
            o.hex = false;
        } else if (a == "--list") {
            o.list = true;
        } else if (a == "--direction") {
            if (!value(o.direction)) return UsageError("--direction needs SWHW or HWSW");
            if (o.direction != "SWHW" && o.direction != "HWSW")
                return UsageError("--direction takes SWHW or HWSW, not " + o.direction);
        } else if (a == "--filter") {
            if (!value(v)) return UsageError("--filter needs KEY=VALUE");
            std::string error;
            if (!ParseFilter(v, o, error)) return UsageError(error);
        } else if (a == "--flow") {
            char *end = nullptr;
            const long n = value(v) ? std::strtol(v.c_str(), &end, 10) : -1;
            if (v.empty() || *end || n < 0 || n > 32767) return UsageError("--flow needs a sequence number");
            o.flowSequence = static_cast<int>(n);
        } else if (a == "--svg") {
            if (!value(o.svg) || o.svg.empty()) return UsageError("--svg needs a file name");
        } else if (a == "--summary") {
            o.summary = true;
        } else if (a == "--") {
            if (i + 1 < argc && o.trace.empty()) o.trace = argv[++i];
            if (i + 1 < argc) return UsageError("only one trace can be interpreted at a time");
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            return UsageError("unknown option " + a);
        } else if (o.trace.empty()) {
            o.trace = a;
        } else {
            return UsageError("only one trace can be interpreted at a time");
        }
    }
    if (o.trace.empty()) return UsageError("no trace given");
    if (o.list && !o.output.empty()) return UsageError("--list prints the rows; it cannot be combined with -o");
    if (o.filterKind != 0 && !o.direction.empty()) return UsageError("--filter and --direction cannot be combined");
    if ((o.flowSequence >= 0) != !o.svg.empty()) return UsageError("--flow and --svg go together");
    return -1;
}

int CheckTrace(const std::string &path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    auto status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        std::fprintf(stderr, "vexa-interpret: %s: no such file\n", path.c_str());
        return kExitTrace;
    }
    if (fs::is_directory(status)) {
        std::fprintf(stderr, "vexa-interpret: %s: is a folder, not a trace file\n", path.c_str());
        return kExitTrace;
    }
    if (access(path.c_str(), R_OK) != 0) {
        std::fprintf(stderr, "vexa-interpret: %s: %s\n", path.c_str(), std::strerror(errno));
        return kExitTrace;
    }
    return -1;
}

// The exit code for a run that did not complete, from the message it showed.
int FailedRunCode(const std::vector<std::string> &messages) {
    if (messages.empty()) return kExitTrace;
    const std::string &m = messages.back();
    if (m == LoadString(IDS_NO_PROTOCOL)) return kExitNoProtocol;
    if (m == LoadString(IDS_PROTOCOL_NOT_SUPPORTED) || m == LoadString(IDS_NOT_INSTALLED)) return kExitNoComponent;
    if (m == LoadString(IDS_NOT_A_TRACE)) return kExitNotATrace;
    return kExitOutput;
}

bool CopyToStdout(const std::string &path) {
    std::fflush(stdout);
    const int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    const int out = fileno(stdout);
    bool ok = true;
    // The system copies file to file without passing the text through the program;
    // where it cannot (an old kernel, a terminal of some kinds), plain reads and writes.
    bool copied = false;
    for (;;) {
        ssize_t n = sendfile(out, in, nullptr, 1 << 30);
        if (n > 0) {
            copied = true;
            continue;
        }
        if (n == 0) break;
        if (errno == EINTR) continue;
        if (copied || (errno != EINVAL && errno != ENOSYS)) ok = false;
        break;
    }
    if (ok && !copied) {
        char buffer[64 * 1024];
        ssize_t n;
        while ((n = read(in, buffer, sizeof buffer)) != 0) {
            if (n < 0) {
                if (errno == EINTR) continue;
                ok = false;
                break;
            }
            if (std::fwrite(buffer, 1, static_cast<size_t>(n), stdout) != static_cast<size_t>(n)) {
                ok = false;
                break;
            }
        }
    }
    close(in);
    return std::fflush(stdout) == 0 && ok;
}

// False when the rows could not all be printed (a full disk, a closed output).
bool PrintRows(const cli::CliList &list) {
    for (const cli::ListRow &r : list.Rows()) {
        std::printf("%d\t%s\t%s\t%s\t%s\t%s%s\n", r.sequence, std::string(ListDirectionText(r.direction)).c_str(), r.message.c_str(),
                    r.time.c_str(), r.from.c_str(), r.to.c_str(), r.valid ? "" : "\tinvalid");
    }
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

// A path made absolute and plain; false (with the reason) where it cannot be, as for a
// relative path whose current folder has been removed.
bool AbsolutePath(const std::string &path, std::string &absolute, std::string &reason) {
    std::error_code ec;
    const std::filesystem::path made = std::filesystem::absolute(path, ec);
    if (ec) {
        reason = ec.message();
        return false;
    }
    absolute = made.lexically_normal().string();
    return true;
}

// Whether the last operation ended with the message that the output could not be written.
bool OutputFailed(const cli::CliHost &host, size_t messagesBefore) {
    const std::vector<std::string> &m = host.Messages();
    return m.size() > messagesBefore && m.back().starts_with(LoadString(IDS_OUTPUT_NOT_WRITABLE));
}

constexpr const char *kNoMemory = "not enough memory to interpret this trace";

// The end of a failure the program cannot go on from: the files the run made go, the
// user is told why, and the program ends at once with status 8.
[[noreturn]] void EndOnFailure(const char *reason) {
    TempOutputs::RemoveTracked();
    std::fprintf(stderr, "vexa-interpret: %s; nothing was written\n", reason);
    std::fflush(stderr);
    _exit(kExitMemory);
}

// A failure that reached no handler (one in a thread of the program's own, or while
// unwinding): it ends the program as EndOnFailure does, never with an abort that leaves
// the output behind.
[[noreturn]] void OnTerminate() {
    const char *reason = "the program failed";
    if (std::exception_ptr failure = std::current_exception()) {
        try {
            std::rethrow_exception(failure);
        } catch (const std::bad_alloc &) {
            reason = kNoMemory;
        } catch (const std::system_error &e) {
            reason = e.code() == std::errc::resource_unavailable_try_again ? kNoMemory : "the program failed";
        } catch (...) {
        }
    }
    EndOnFailure(reason);
}

// --flow with --svg, or --summary: the call's ladder diagram as SVG, the summary as text.
int WriteFlowOrSummary(CVexaClientDoc &doc, const Options &options) {
    // The diagram alone needs only what it draws, which spares decoding most messages again.
    const std::vector<FlowMessage> messages = ReadFlowMessages(doc, options.summary ? FlowFacts::All : FlowFacts::Diagram);
    if (options.summary) {
        WriteTraceSummary(BuildTraceSummary(messages), std::cout);
        std::cout.flush();
        if (!std::cout) return kExitOutput;
    }
    if (options.flowSequence >= 0) {
        const CallFlow flow = BuildCallFlow(messages, static_cast<int16_t>(options.flowSequence));
        if (flow.arrows.empty()) {
            std::fprintf(stderr, "vexa-interpret: no signal %d in the trace\n", options.flowSequence);
            return kExitUsage;
        }
        std::ofstream file(options.svg, std::ios::binary | std::ios::trunc);
        FlowColors colors;
        colors.outgoing = doc.Settings().m_crOutgoing;
        colors.incoming = doc.Settings().m_crIncoming;
        if (file) WriteCallFlowSvg(flow, colors, file);
        file.close();
        if (!file) {
            std::fprintf(stderr, "vexa-interpret: %s: cannot be written\n", options.svg.c_str());
            return kExitOutput;
        }
    }
    return kExitOk;
}

int Interpret(int argc, char **argv) {
    Options options;
    if (int code = ParseOptions(argc, argv, options); code >= 0) return code;
    if (int code = CheckTrace(options.trace); code >= 0) return code;
    std::string trace, reason;
    if (!AbsolutePath(options.trace, trace, reason)) {
        std::fprintf(stderr, "vexa-interpret: %s: %s\n", options.trace.c_str(), reason.c_str());
        return kExitTrace;
    }
    // Where the interpretation is to be saved is settled before the run, which may be long.
    std::string target;
    if (!options.output.empty() && !AbsolutePath(options.output, target, reason)) {
        std::fprintf(stderr, "vexa-interpret: %s: the current folder cannot be found (%s)\n", options.output.c_str(),
                     reason.c_str());
        return kExitOutput;
    }

    IniProfileReader profile(IniProfileReader::DefaultPath());
    if (!profile.Refusal().empty())
        std::fprintf(stderr, "vexa-interpret: %s; the built-in settings are used\n", profile.Refusal().c_str());
    VexaSettings settings;
    LoadSettings(profile, settings);
    // Outputs that ended runs (killed, or stopped by a power cut) left behind go now.
    TempOutputs::RemoveLeftBehind(settings.m_strTempPath);
    ReadColors(profile, settings);
    if (options.protocol) settings.m_nCurrentProtocol = settings.m_nDefaultProtocol = *options.protocol;
    if (options.allRows) settings.m_bWriteAllRows = *options.allRows;
    if (options.hex) settings.m_bWriteHexInfo = *options.hex;

    cli::CliHost host(settings, profile);
    cli::CliList list;
    CVexaClientDoc doc(host);
    // The interpretation text alone needs no message list: without one the document
    // fills none, which spares the rows of a large trace.
    const bool needsList = options.list || !options.direction.empty() || options.filterKind != 0;
    if (needsList) doc.m_pListView = &list;
    // The interpretation printed or saved as the run wrote it needs neither the trace's
    // lines nor the run lines: a large trace then takes little more memory than the
    // component's messages.
    doc.m_bKeepLines = needsList || options.flowSequence >= 0 || options.summary;
    if (!doc.OnOpenDocument(trace)) {
        std::fprintf(stderr, "vexa-interpret: %s: cannot be read\n", options.trace.c_str());
        return kExitTrace;
    }
    int code = kExitOk;
    if (!doc.m_bOutputLoaded) {
        code = FailedRunCode(host.Messages());
        if (!host.Messages().empty() && host.Messages().back() == LoadString(IDS_NOT_INSTALLED)) {
            // The message speaks of an installation; say where the component was looked for.
            std::fprintf(stderr, "vexa-interpret: parser components are looked for in %s (set VEXA_COMPONENT_PATH to look elsewhere)\n",
                         CDispatchDriver::ComponentFolder().c_str());
        }
    } else {
        const size_t messagesBefore = host.Messages().size();
        if (!options.direction.empty()) {
            doc.m_strSearchText = options.direction;
            list.ClearList();
            doc.FillListBySearch();
            doc.RebuildResultText();
        }
        if (options.filterKind != 0) {
            if (!FilterFitsProtocol(options.filterKind, doc.m_nRunProtocol)) {
                std::fprintf(stderr, "vexa-interpret: --filter %s does not fit the protocol %s\n",
                             options.filterName.c_str(), ProtocolName(doc.m_nRunProtocol).c_str());
                doc.OnCloseDocument();
                return kExitUsage;
            }
            list.ClearList();
            if (options.filterKind == kFilterIpProtocol)
                FillByProtocol(doc, options.filterKey);
            else
                FillByFilterKind(doc, options.filterKind, options.filterKey);
            doc.RebuildResultText();
        }
        if (options.flowSequence >= 0 || options.summary) {
            code = WriteFlowOrSummary(doc, options);
        } else if (OutputFailed(host, messagesBefore)) {
            // The rewritten output of the chosen signals could not be written whole.
            code = kExitOutput;
        } else if (options.list) {
            if (!PrintRows(list)) {
                std::fprintf(stderr, "vexa-interpret: the list could not be printed\n");
                code = kExitOutput;
            }
        } else if (!options.output.empty()) {
            std::string error;
            switch (doc.SaveOutputAs(target, error)) {
            case CVexaClientDoc::SaveResult::Saved: break;
            case CVexaClientDoc::SaveResult::SameAsTrace:
                host.ShowMessage(LoadString(IDS_SAME_FILE_NAME));
                code = kExitOutput;
                break;
            case CVexaClientDoc::SaveResult::CopyFailed:
                std::fprintf(stderr, "vexa-interpret: %s: %s\n", options.output.c_str(), error.c_str());
                code = kExitOutput;
                break;
            }
        } else if (!CopyToStdout(doc.m_strOutputPath)) {
            std::fprintf(stderr, "vexa-interpret: the interpretation could not be printed\n");
            code = kExitOutput;
        }
    }
    doc.OnCloseDocument();
    return code;
}

}  // namespace

int main(int argc, char **argv) {
    // A run ended by Ctrl+C, a closed pipe (vexa-interpret trace | head) or kill leaves
    // no temporary output behind.
    TempOutputs::RemoveOnTermination();
    std::set_terminate(&OnTerminate);
    try {
        return Interpret(argc, argv);
    } catch (const std::bad_alloc &) {
        EndOnFailure(kNoMemory);
    } catch (const std::system_error &e) {
        // Threads that cannot be made for want of memory say "try again".
        EndOnFailure(e.code() == std::errc::resource_unavailable_try_again ? kNoMemory : e.what());
    } catch (const std::exception &e) {
        EndOnFailure(e.what());
    }
}
