// Writes a generated OpenAir file of the shapes found in the field, for comparing the programs
// of two platforms on the same bytes:
//   openair_generate SEED COUNT [lf] [latin1|utf8] [lower] [hemisphere N] > FILE
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/airspace/OpenAirGenerator.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: openair_generate SEED COUNT [lf] [latin1|utf8] [lower] "
                     "[hemisphere N]\n");
        return 2;
    }
    airspace::testing::GeneratorOptions options;
    using Names = airspace::testing::GeneratorOptions::Names;
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "lf") {
            options.crlf = false;
        } else if (option == "latin1") {
            options.names = Names::Latin1;
        } else if (option == "utf8") {
            options.names = Names::Utf8;
        } else if (option == "lower") {
            options.lowerCaseKeywords = 0.5;
        } else if (option == "hemisphere" && i + 1 < argc) {
            options.hemisphere = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "openair_generate: unknown option %s\n", option.c_str());
            return 2;
        }
    }
    std::string text;
    airspace::testing::OpenAirGenerator(
        static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10)), options)
        .appendAirspaces(text, std::strtoul(argv[2], nullptr, 10));
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
