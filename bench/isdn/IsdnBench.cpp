// Decoding speed of the ISDN parser.
//
//   isdn_bench [benchmark options]     runs the benchmarks
//   isdn_bench --dump-mix N            writes the first N messages of the decoding mix as
//                                      text2pcap input (for vs-tshark.sh)
#include "DispatchIds.h"
#include "Q931Decoder.h"
#include "VexaComponentAbi.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

extern "C" VexaObject *VexaCreateObject(const char *progId, const VexaHost *host);

namespace {

// Messages of a day's traffic on DSS1 lines, in the proportions they occur: whole calls,
// busy calls, supplementary services.
const char *const kMix[] = {
    // SETUP with sending complete, speech, B1, calling and called numbers, HLC
    "08 01 05 05 A1 04 03 80 90 A3 18 01 89 6C 0A 21 83 33 30 31 32 33 34 35 36 70 05 C1 31 32 33 34 7D 02 91 81",
    // SETUP on a primary rate interface with progress indicator and display
    "08 02 00 21 05 04 03 80 90 A3 18 03 A9 83 8C 1E 02 82 83 28 08 4A 2E 20 53 4D 49 54 48 6C 06 01 81 35 35 35 31 70 07 81 30 37 31 34 34 35",
    "08 01 85 02 18 01 89",                             // CALL PROCEEDING
    "08 01 85 01",                                      // ALERTING
    "08 01 85 07 18 01 89 29 05 1A 0C 05 09 29",        // CONNECT with date/time
    "08 01 05 0F",                                      // CONNECT ACKNOWLEDGE
    "08 01 85 45 08 02 82 91 1E 02 82 88",              // DISCONNECT user busy, in-band tones
    "08 01 05 45 08 02 80 90",                          // DISCONNECT normal clearing
    "08 01 85 4D",                                      // RELEASE
    "08 01 05 5A 08 02 80 90",                          // RELEASE COMPLETE with cause
    "08 01 85 7D 08 02 80 9E 14 01 0A",                 // STATUS
    "08 01 85 62 1C 0C 91 A1 09 02 01 05 02 01 21 0A 01 01",  // FACILITY invoke
    "08 01 05 7B 2C 02 35 23",                          // INFORMATION keypad
    "08 01 05 05 04 04 88 90 21 8F 18 01 8A 7C 04 88 90 21 8F 70 04 C1 31 32 33",  // data call, LLC V.110
    "08 00 46 79 01 87",                                // RESTART
};

std::vector<std::vector<uint8_t>> Messages(size_t n) {
    std::vector<std::vector<uint8_t>> all;
    const size_t kinds = sizeof kMix / sizeof kMix[0];
    std::mt19937 rng(1);
    for (size_t i = 0; i < n; ++i) {
        const char *hex = kMix[i < kinds ? i : rng() % kinds];
        std::vector<uint8_t> octets;
        for (const char *p = hex; *p;) {
            while (*p == ' ') ++p;
            if (!*p) break;
            octets.push_back(static_cast<uint8_t>(std::strtoul(std::string(p, 2).c_str(), nullptr, 16)));
            p += 2;
        }
        all.push_back(std::move(octets));
    }
    return all;
}

void BM_DecodeMix(benchmark::State &state) {
    auto messages = Messages(4096);
    vexa::isdn::Q931Decoder decoder;
    size_t i = 0, chars = 0;
    for (auto _ : state) {
        const auto &m = messages[i++ & 4095];
        vexa::isdn::DecodedMessage d = decoder.Decode(m.data(), m.size());
        chars += d.text.size();
        benchmark::DoNotOptimize(d);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["text_chars_per_msg"] = static_cast<double>(chars) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DecodeMix);

// A trace of n signals as the exchange writes it.
std::string Trace(size_t n) {
    auto messages = Messages(n);
    std::string t;
    char buf[128];
    const std::string in(24, ' ');
    for (size_t i = 0; i < n; ++i) {
        bool out = messages[i].size() > 2 && !(messages[i][2] & 0x80);
        std::snprintf(buf, sizeof buf, "09.41.%02zu.%02zu %05zu  %s %-12s ISDNCP-01  DLB-0102\n", i / 100 % 60, i % 100,
                      i % 32768, out ? "SWHW" : "HWSW", out ? "DLRDATALONG" : "DLIDATALONG");
        t += buf;
        std::snprintf(buf, sizeof buf, "%sEQU NO      001-0-%02zu-%02zu\n", in.c_str(), 2 + i % 8, 1 + i % 32);
        t += buf;
        const auto &m = messages[i];
        for (size_t k = 0; k < m.size(); k += 16) {
            t += in + "DATA";
            for (size_t j = k; j < m.size() && j < k + 16; ++j) {
                std::snprintf(buf, sizeof buf, " %02X", m[j]);
                t += buf;
            }
            t += '\n';
        }
        t += in + "LEN " + std::to_string(m.size()) + "\n";
    }
    return t;
}

void SetText(void *sink, const char *text, size_t len) { static_cast<std::string *>(sink)->assign(text, len); }
const VexaHost kHost = {VEXA_ABI_VERSION, &SetText};

// Reading a trace through ParseLine, as the program does, with the block questions at each
// completion.
void BM_ParseTraceLines(benchmark::State &state) {
    std::string trace = Trace(static_cast<size_t>(state.range(0)));
    std::vector<std::string_view> lines;
    for (size_t p = 0; p < trace.size();) {
        size_t nl = trace.find('\n', p);
        lines.push_back(std::string_view(trace).substr(p, nl + 1 - p));
        p = nl + 1;
    }
    const auto &ids = vexa::kIsdnDispIds;
    for (auto _ : state) {
        VexaObject *o = VexaCreateObject("VexaParser", &kHost);
        for (std::string_view line : lines) {
            VexaArg a[3] = {};
            a[0].type = VEXA_T_STR;
            a[0].str = line.data();
            a[0].len = line.size();
            a[1].type = a[2].type = VEXA_T_I2;
            a[1].out = a[2].out = 1;
            VexaArg r{};
            o->vtbl->invoke(o, ids.ParseLine, a, 3, &r);
            if (a[2].num) {
                std::string s[8];
                VexaArg m[11] = {};
                m[0].type = m[1].type = VEXA_T_I2;
                m[0].num = 1;
                m[1].num = 0;  // sequence number is looked up below
                VexaArg idx{};
                o->vtbl->invoke(o, ids.GetLastMessageIndex, nullptr, 0, &idx);
                VexaArg q{};
                q.type = VEXA_T_I4;
                q.num = idx.num;
                VexaArg seq{};
                o->vtbl->invoke(o, ids.GetSequenceNumber, &q, 1, &seq);
                m[1].num = seq.num;
                for (int k = 0; k < 7; ++k) {
                    m[2 + k].type = VEXA_T_STR;
                    m[2 + k].out = 1;
                    m[2 + k].sink = &s[k];
                }
                m[9].type = VEXA_T_VBOOL;
                m[9].out = 1;
                m[10].type = VEXA_T_STR;
                m[10].out = 1;
                m[10].sink = &s[7];
                o->vtbl->invoke(o, ids.GetSequenceMessage, m, 11, &r);
            }
        }
        o->vtbl->release(o);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
    state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_ParseTraceLines)->Arg(20000)->Unit(benchmark::kMillisecond);

// The component's whole share of an interpretation run, with the calls the program makes:
// ParseLine and GetPendingStatus for every line; at each completion GetLastMessageIndex,
// GetSequenceNumber, GetSequenceMessageCount, GetSequenceMessage, GetCallReference and
// DecodeCallReference; after the run GetMessageCount and GetMessage for every message
// (the list). The trace is VEXA_BENCH_TRACE when set (a file written by
// scripts/gen-isdn-trace.py), else 20,000 signals of the decoding mix. Argument 0: the list
// passes no text for the decoded text (string 7), which it does not show; 1: it asks for it.
struct Caller {
    VexaObject *o;
    int32_t Call(int32_t id, VexaArg *a, int32_t n) {
        VexaArg r{};
        o->vtbl->invoke(o, id, a, n, &r);
        return r.num;
    }
};

VexaArg In(int32_t type, int32_t v) {
    VexaArg a{};
    a.type = type;
    a.num = v;
    return a;
}

VexaArg Out(int32_t type, std::string *sink = nullptr) {
    VexaArg a{};
    a.type = type;
    a.out = 1;
    a.sink = sink;
    return a;
}

void BM_ProgramCalls(benchmark::State &state) {
    std::string trace;
    if (const char *path = std::getenv("VEXA_BENCH_TRACE")) {
        if (FILE *f = std::fopen(path, "rb")) {
            char buf[1 << 16];
            size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) trace.append(buf, n);
            std::fclose(f);
        }
    }
    if (trace.empty()) trace = Trace(20000);
    std::vector<std::string_view> lines;
    for (size_t p = 0; p < trace.size();) {
        size_t nl = trace.find('\n', p);
        if (nl == std::string::npos) nl = trace.size() - 1;
        lines.push_back(std::string_view(trace).substr(p, nl + 1 - p));
        p = nl + 1;
    }
    const auto &ids = vexa::kIsdnDispIds;
    const bool listText = state.range(0) != 0;
    int64_t messages = 0;
    std::string s[8], raw, value;
    for (auto _ : state) {
        VexaObject *o = VexaCreateObject("VexaParser", &kHost);
        Caller c{o};
        for (std::string_view line : lines) {
            VexaArg a[3] = {};
            a[0].type = VEXA_T_STR;
            a[0].str = line.data();
            a[0].len = line.size();
            a[1] = Out(VEXA_T_I2);
            a[2] = Out(VEXA_T_I2);
            c.Call(ids.ParseLine, a, 3);
            if (a[2].num) {
                int32_t index = c.Call(ids.GetLastMessageIndex, nullptr, 0);
                VexaArg q = In(VEXA_T_I4, index);
                int32_t sequence = c.Call(ids.GetSequenceNumber, &q, 1);
                VexaArg sq = In(VEXA_T_I2, sequence);
                int32_t count = c.Call(ids.GetSequenceMessageCount, &sq, 1);
                for (int32_t i = 1; i <= count; ++i) {
                    VexaArg m[11] = {In(VEXA_T_I2, i), In(VEXA_T_I2, sequence)};
                    for (int k = 0; k < 7; ++k) m[2 + k] = Out(VEXA_T_STR, &s[k]);
                    m[9] = Out(VEXA_T_VBOOL);
                    m[10] = Out(VEXA_T_STR, &s[7]);
                    if (c.Call(ids.GetSequenceMessage, m, 11) == 0) break;
                    VexaArg cr[2] = {In(VEXA_T_I4, index), Out(VEXA_T_STR, &raw)};
                    c.Call(ids.GetCallReference, cr, 2);
                    VexaArg dc[2] = {Out(VEXA_T_STR, &raw), Out(VEXA_T_STR, &value)};
                    dc[0].str = raw.data();
                    dc[0].len = raw.size();
                    c.Call(ids.DecodeCallReference, dc, 2);
                }
            }
            c.Call(ids.GetPendingStatus, nullptr, 0);
        }
        VexaArg n = Out(VEXA_T_I4);
        c.Call(ids.GetMessageCount, &n, 1);
        for (int32_t index = 1; index <= n.num; ++index) {
            VexaArg m[11] = {In(VEXA_T_I4, index), Out(VEXA_T_I2)};
            for (int k = 0; k < 7; ++k) m[2 + k] = Out(VEXA_T_STR, &s[k]);
            if (!listText) m[8].sink = nullptr;
            m[9] = Out(VEXA_T_VBOOL);
            m[10] = Out(VEXA_T_STR, &s[7]);
            c.Call(ids.GetMessage, m, 11);
        }
        messages = n.num;
        c.Call(ids.Reset, nullptr, 0);
        o->vtbl->release(o);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
    state.counters["lines"] = static_cast<double>(lines.size());
    state.counters["messages"] = static_cast<double>(messages);
}
BENCHMARK(BM_ProgramCalls)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The list's filtered walks after a run of 200,000 messages: each step must not scan.
void BM_FindByCallReference(benchmark::State &state) {
    std::string trace = Trace(200000);
    VexaObject *o = VexaCreateObject("VexaParser", &kHost);
    for (size_t p = 0; p < trace.size();) {
        size_t nl = trace.find('\n', p);
        VexaArg a[3] = {};
        a[0].type = VEXA_T_STR;
        a[0].str = trace.data() + p;
        a[0].len = nl + 1 - p;
        a[1].type = a[2].type = VEXA_T_I2;
        a[1].out = a[2].out = 1;
        VexaArg r{};
        o->vtbl->invoke(o, vexa::kIsdnDispIds.ParseLine, a, 3, &r);
        p = nl + 1;
    }
    const std::string cr = "H'05";
    int32_t index = 0;
    for (auto _ : state) {
        VexaArg a[2] = {};
        a[0].type = VEXA_T_STR;
        a[0].str = cr.data();
        a[0].len = cr.size();
        a[1].type = VEXA_T_I4;
        a[1].num = index;
        VexaArg r{};
        o->vtbl->invoke(o, vexa::kIsdnDispIds.FindNextByCallReference, a, 2, &r);
        index = r.num < 0 ? 0 : r.num;
    }
    o->vtbl->release(o);
}
BENCHMARK(BM_FindByCallReference);

}  // namespace

int main(int argc, char **argv) {
    if (argc == 3 && std::strcmp(argv[1], "--dump-mix") == 0) {
        // text2pcap input: one packet per message, offsets in hex.
        for (const auto &m : Messages(std::strtoul(argv[2], nullptr, 10))) {
            std::printf("0000");
            for (uint8_t o : m) std::printf(" %02x", o);
            std::printf("\n");
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
