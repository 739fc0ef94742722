// Decodes the real H.225.0 and H.245 messages of the tests' corpus over and over and prints
// the time per message: the figure that bench/ip/vs-tshark.sh sets against tshark -V.
//   ip_bench CORPUS_DIR [MESSAGES] [ras,h225cs,h245]
#include "H323Decoder.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using vexa::ip::H323Protocol;

namespace {

struct Sample {
    H323Protocol protocol;
    std::vector<uint8_t> octets;
};

void Load(const std::string &path, H323Protocol protocol, std::vector<Sample> &out) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::stringstream ss(line);
        std::string source, frame, hex;
        std::getline(ss, source, '\t');
        std::getline(ss, frame, '\t');
        std::getline(ss, hex, '\t');
        Sample s{protocol, {}};
        for (size_t i = 0; i + 1 < hex.size(); i += 2) s.octets.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        out.push_back(std::move(s));
    }
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: ip_bench CORPUS_DIR [MESSAGES] [ras,h225cs,h245]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const long count = argc > 2 ? std::stol(argv[2]) : 200000;
    const std::string which = argc > 3 ? argv[3] : "ras,h225cs,h245";
    std::vector<Sample> samples;
    if (which.find("ras") != std::string::npos) Load(dir + "/ras.tsv", H323Protocol::Ras, samples);
    if (which.find("h225cs") != std::string::npos) Load(dir + "/h225cs.tsv", H323Protocol::CallSignalling, samples);
    if (which.find("h245") != std::string::npos) Load(dir + "/h245.tsv", H323Protocol::H245, samples);
    if (samples.empty()) return 2;
    size_t chars = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < count; ++i) {
        const Sample &s = samples[static_cast<size_t>(i) % samples.size()];
        chars += vexa::ip::H323Decoder::Decode(s.protocol, s.octets.data(), s.octets.size()).text.size();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("messages %ld\nseconds %.6f\nus_per_message %.3f\ntext_chars %zu\n", count, seconds,
                seconds * 1e6 / static_cast<double>(count), chars);
    return 0;
}
