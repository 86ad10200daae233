// Whatever a file holds, loading it must neither crash nor hang, nor hand the instrument an
// encoding it would misread. Run these under the sanitizer build too.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/AirspaceRecord.h"
#include "tests/airspace/OpenAirGenerator.h"
#include "tests/airspace/TestSupport.h"

namespace airspace {
namespace {

using testing::expectSoundEncoding;

void expectAllSound(const std::vector<AirspaceRecord>& records, const std::string& where) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        expectSoundEncoding(records[i], where + ", airspace " + std::to_string(i));
        if (::testing::Test::HasFatalFailure()) return;
    }
}

// Random text made mostly of OpenAir fragments, so that the parser gets far into every branch.
std::string fragmentSoup(std::mt19937& random, std::size_t length) {
    static const char* const kFragments[] = {"AC ",
                                             "AN ",
                                             "AL ",
                                             "AH ",
                                             "DP ",
                                             "DA ",
                                             "DB ",
                                             "DC ",
                                             "V X=",
                                             "V D=-",
                                             "V D=+",
                                             "ac ",
                                             "dp ",
                                             "da ",
                                             "*",
                                             "\r\n",
                                             "\n",
                                             "\r",
                                             ",",
                                             " ",
                                             "\t",
                                             ":",
                                             ".",
                                             "N",
                                             "S",
                                             "E",
                                             "W",
                                             "n",
                                             "e",
                                             "-",
                                             "+",
                                             "0",
                                             "1",
                                             "5",
                                             "9",
                                             "47:30:00",
                                             "008:30:00",
                                             "89:59:59",
                                             "179:59:59",
                                             "999:99:99",
                                             "47:30.1234567",
                                             "nan",
                                             "inf",
                                             "1e38",
                                             "1e-45",
                                             "0x1p3",
                                             "1000",
                                             "0.0001",
                                             "360",
                                             "-720",
                                             "\xEF\xBB\xBF",
                                             "\xC3\xBC",
                                             "\xFF",
                                             std::string_view("\0", 1).data()};
    constexpr std::size_t kCount = sizeof kFragments / sizeof kFragments[0];
    std::uniform_int_distribution<std::size_t> pick(0, kCount - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text;
    while (text.size() < length) {
        if (byte(random) < 20) {
            text += static_cast<char>(byte(random));
        } else {
            const std::size_t i = pick(random);
            text += i + 1 == kCount ? std::string(1, '\0') : std::string(kFragments[i]);
        }
    }
    return text;
}

TEST(Robustness, ArbitraryTextNeverYieldsAnUnsoundEncoding) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 2000; ++round) {
        const std::string text = fragmentSoup(random, 50 + round % 300 * 7);
        expectAllSound(parseAirspaces(text), "soup round " + std::to_string(round));
        if (HasFatalFailure()) return;
    }
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 50; ++round) {
        std::string noise(2000, '\0');
        for (char& c : noise) c = static_cast<char>(byte(random));
        expectAllSound(parseAirspaces("AC X\n" + noise), "noise round " + std::to_string(round));
    }
}

TEST(Robustness, GeometryNearThePolesAndBeyondTheRange) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"large circle at the pole", "V X=89:59:59 N 000:00:00 E\nDC 1000\n"},
        {"small circle at the pole", "V X=90:00:00 N 000:00:00 E\nDC 5\n"},
        {"arc over the pole", "V X=89:30:00 S 010:00:00 W\nV D=-\nDA 50,0,270\n"},
        {"arc of 1000 nm near the pole", "V X=85:00:00 N 170:00:00 E\nDA 1000,10,350\n"},
        {"full circle of 1000 nm", "V X=60:00:00 N 000:00:00 E\nDA 1000,0,360\n"},
        {"latitude beyond 90 degrees", "V X=999:59:59 N 999:59:59 W\nDC 1000\n"},
        {"arc by points far from its centre",
         "V X=00:00:00 N 000:00:00 E\nDB 80:00:00 N 000:00:00 E, 80:00:00 S 179:00:00 W\n"},
        {"points across the globe",
         "DP 89:00:00 N 000:00:00 E\nDP 89:00:00 S 179:59:59 E\nDP 00:00:00 N 179:59:59 W\n"
         "DP 999:00:00 N 999:00:00 E\n"},
        {"tiny arc whose end rounds onto its vertex",
         "V X=47:00:00 N 008:00:00 E\nDP 47:00:00 N 008:10:00 E\nDA 0.001,0,90\n"},
        {"tiny arc by points",
         "V X=47:00:00 N 008:00:00 E\nDP 47:00:00 N 008:10:00 E\n"
         "DB 47:00:00 N 008:00:01 E, 47:00:01 N 008:00:00 E\n"},
        {"bearings far outside a turn", "V X=47:00:00 N 008:00:00 E\nDA 5,-7200.5,1e30\n"},
    };
    for (const auto& [what, lines] : cases) {
        const auto started = std::chrono::steady_clock::now();
        const AirspaceRecord record("AC X\n" + lines);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << what;
        expectSoundEncoding(record, what);
    }
}

TEST(Robustness, BearingsAreTakenModuloAFullTurn) {
    const std::string centre = "AC X\nV X=47:00:00 N 008:00:00 E\n";
    const AirspaceRecord reference(centre + "DA 5,0,90\n");
    for (const char* arc : {"DA 5,720,810\n", "DA 5,-360,-270\n", "DA 5,360,450\n"}) {
        EXPECT_EQ(testing::storedHex(AirspaceRecord(centre + arc)), testing::storedHex(reference))
            << arc;
    }
}

TEST(Robustness, AMillionPointsInOneAirspace) {
    std::string text = "AC X\nAN huge\n";
    text.reserve(30'000'000);
    constexpr int kPoints = 1'000'000;
    char line[64];
    for (int i = 0; i < kPoints; ++i) {
        // A zigzag band 10 minutes high, 50 minutes long, walked back and forth.
        const int lat = 40 * 6000 + (i % 2) * 1000;
        const int lon = 1 * 6000 + (i / 2) % 1000 * 5;
        std::snprintf(line, sizeof line, "DP %d:%02d:%02d N %d:%02d:%02d E\n", lat / 6000,
                      lat % 6000 / 100, lat % 100 * 60 / 100, lon / 6000, lon % 6000 / 100,
                      lon % 100 * 60 / 100);
        text += line;
    }
    const auto records = parseAirspaces(text);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].elements.at(0).points.size(), static_cast<std::size_t>(kPoints));
    EXPECT_EQ(records[0].encodedSize(), kStartPointSize + (kPoints - 1) * kDeltaPointSize);
    expectSoundEncoding(records[0], "a million points");
}

}  // namespace
}  // namespace airspace
