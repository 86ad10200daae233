// The instrument's bytes for the outlines the protocol notes work through, and the rules of the
// encoder itself (step test, halving, flags).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "airspace/AirspaceRecord.h"
#include "airspace/OutlineEncoder.h"
#include "tests/airspace/TestSupport.h"

namespace airspace {
namespace {

using testing::hex;
using testing::recordOf;
using testing::storedHex;

const std::string kCentre = std::string(testing::kCentreLine) + "\n";

struct OutlineCase {
    const char* what;
    std::string lines;  // after "AC D" and the centre line
    const char* bytes;  // expected stored bytes
};

TEST(OutlineBytes, WorkedExamplesAroundEightEastFortySevenNorth) {
    const std::vector<OutlineCase> cases = {
        {"small circle: 16-gon vertex 29 west, 100 south, circle command e=40", "DC 1\n",
         "04 4D 2C 00 BB 63 30 28"},
        {"clockwise quarter arc: vertex, arc command sector 7 three edges, end point",
         "DA 5,0,90\n", "04 4F 84 00 BB 80 00 00 00 92 60 C7 73 1E 0C 02 4B"},
        {"the same arc counter-clockwise, 270 degrees", "V D=-\nDA 5,0,90\n",
         "04 4F 84 00 BB 80 00 00 FF 6E 70 C7 9B 1E 0C 03 6F"},
        {"small arc of 30 degrees: two circumscribing vertices and the end", "DA 5,0,30\n",
         "04 4F 84 00 BB 80 00 00 00 61 1F DE 00 BA 1F DF 00 54"},
        {"arc by points: start 5 nm north, end east and closer; radius from the start",
         "DB 47:05:00 N 008:00:00 E, 47:00:00 N 008:07:00 E\n",
         "04 4F 84 00 BB 80 00 00 00 92 60 C7 73 1E 0C 02 4B"},
        {"0 to 360 is a full circle: 15 edges from the first vertex back to the start",
         "DA 5,0,360\n", "04 4F 84 00 BB 80 00 00 00 92 60 C7 7F 00 00 FF 6E"},
        {"0.1 to 360.1 is a full circle too, though not exactly 360 apart in single precision",
         "DA 5,0.1,360.1\n", "04 4F 84 00 BB 81 00 00 00 91 60 C7 7F 00 00 FF 6F"},
        {"-90.3 to 269.7 counter-clockwise is a full circle from the west",
         "V D=-\nDA 5,-90.3,269.7\n", "04 4D 8D 00 B8 A3 1F A0 00 00 70 C7 DF 00 60 00 00"},
        {"from a hair past 180 clockwise to 180 is almost all the way round",
         "DA 5,180.00001,180\n", "04 4B 9C 00 BB 80 00 00 FF 6E 60 C7 FF 00 00 00 92"},
        {"from 180 counter-clockwise to a hair past 180 likewise", "V D=-\nDA 5,180,180.00001\n",
         "04 4B 9C 00 BB 80 00 00 00 92 70 C7 1F 00 00 FF 6E"},
        {"a run of four points whose repeated closing point is dropped",
         "DP 47:00:00 N 008:00:00 E\nDP 47:00:00 N 008:05:00 E\nDP 47:05:00 N 008:05:00 E\n"
         "DP 47:00:00 N 008:00:00 E\n",
         "04 4D 90 00 BB 80 00 00 01 F4 01 F4 00 00"},
        {"a circle after other elements adds nothing",
         "DP 47:00:00 N 008:00:00 E\nDP 47:00:00 N 008:05:00 E\nDP 47:05:00 N 008:05:00 E\n"
         "DC 1\n",
         "04 4D 90 00 BB 80 00 00 01 F4 01 F4 00 00"},
        {"elements after a leading circle add nothing", "DC 1\nDP 47:00:00 N 008:05:00 E\n",
         "04 4D 2C 00 BB 63 30 28"},
    };
    for (const auto& c : cases) {
        const AirspaceRecord record = recordOf("AC D\n" + kCentre + c.lines);
        EXPECT_EQ(storedHex(record), c.bytes) << c.what;
        EXPECT_EQ(record.encodedSize(), record.storedBytes().size()) << c.what;
    }
}

TEST(OutlineBytes, LargeCircleBecomesThirtyTwoVertices) {
    const AirspaceRecord record = recordOf("AC D\n" + kCentre + "DC 110\n");
    const auto bytes = record.storedBytes();
    ASSERT_EQ(bytes.size(), 130u);  // start point and 31 delta points
    for (std::size_t i = 6; i < bytes.size(); i += 4) {
        EXPECT_NE(bytes[i] & 0x60, 0x20) << "no circle command at " << i;
        EXPECT_NE(bytes[i] & 0xE0, 0x60) << "no arc command at " << i;
    }
}

TEST(OutlineBytes, OutlinesWithoutAnItemForTheEndFlagsKeepNoBytes) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"a lone point", "AC D\nDP 47:00:00 N 008:00:00 E\n"},
        {"an arc of no sweep", "AC D\n" + kCentre + "DA 5,30,30\n"},
        {"an arc too short to tell its bearings apart", "AC D\n" + kCentre + "DA 5,0,0.000001\n"},
        {"a point run of one repeated point",
         "AC D\nDP 47:00:00 N 008:00:00 E\nDP 47:00:00 N 008:00:00 E\n"},
        {"no elements at all", "AC D\nAN Nothing\n"},
    };
    for (const auto& [what, text] : cases) {
        const AirspaceRecord record = recordOf(text);
        EXPECT_EQ(record.encodedSize(), 0u) << what;
        EXPECT_TRUE(record.encodedBytes(true).empty()) << what;
        EXPECT_TRUE(record.encodedBytes(false).empty()) << what;
    }
}

TEST(OutlineEncoderRules, StartPointsInAllHemispheres) {
    OutlineEncoder encoder;
    encoder.begin(GeoPoint(8 * 6000 + 3000, 47 * 6000 + 3000));
    EXPECT_EQ(hex(encoder.bytes()), "04 59 48 00 C7 38");
    encoder.begin(GeoPoint(-(8 * 6000 + 3000), -(47 * 6000 + 3000)));
    EXPECT_EQ(hex(encoder.bytes()), "FB A6 B8 FF 38 C8");
}

TEST(OutlineEncoderRules, DeltaPointsAndHalving) {
    const GeoPoint start(48000, 282000);
    OutlineEncoder encoder;
    encoder.begin(start);
    encoder.addPoint(GeoPoint(48001, 281999));
    EXPECT_EQ(hex(encoder.bytes()), "04 4D 90 00 BB 80 1F FF 00 01");
    encoder.addPoint(GeoPoint(48001, 281999));  // equal to the last point: nothing
    EXPECT_EQ(encoder.length(), 10u);

    encoder.begin(start);
    encoder.addPoint(GeoPoint(48000, 292000));  // 10000 units (100 nm) due north
    EXPECT_EQ(hex(encoder.bytes()),
              "04 4D 90 00 BB 80 09 C4 00 00 09 C4 00 00 09 C4 00 00 09 C4 00 00");
    EXPECT_EQ(encoder.lastPoint(), GeoPoint(48000, 292000));
}

TEST(OutlineEncoderRules, StepTestLimits) {
    const std::int32_t lat60 = 60 * 6000;
    const std::int32_t lat85 = 85 * 6000;
    struct Step {
        GeoPoint a, b;
        bool passes;
        const char* what;
    };
    const std::vector<Step> steps = {
        {{0, lat60}, {8000, lat60}, true, "8000 east at 60 north"},
        {{0, lat60}, {8200, lat60}, false, "8200 east at 60 north"},
        {{0, 0}, {0, 4095}, true, "4095 north"},
        {{0, 0}, {0, -4096}, false, "4096 south"},
        {{0, 0}, {4095, 0}, true, "4095 east on the equator"},
        {{0, 0}, {4096, 0}, false, "4096 east on the equator"},
        {{0, lat85}, {32767, lat85}, true, "32767 east at 85 north"},
        {{0, lat85}, {32768, lat85}, false, "32768 east at 85 north: beyond 16 bits"},
        {{0, -lat85}, {-40000, -lat85}, false, "40000 west at 85 south"},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(OutlineEncoder::stepTest(s.a, s.b), s.passes) << s.what;
        EXPECT_EQ(OutlineEncoder::stepTest(s.b, s.a), s.passes) << s.what << " (reversed)";
    }
}

TEST(OutlineEncoderRules, FlagsOnlyInCopies) {
    const AirspaceRecord polygon = recordOf(
        "AC D\nDP 47:00:00 N 008:00:00 E\nDP 47:00:00 N 008:05:00 E\nDP 47:05:00 N 008:05:00 E\n");
    ASSERT_EQ(polygon.encodedSize(), 14u);
    const std::string stored = "04 4D 90 00 BB 80 00 00 01 F4 01 F4 00 00";
    EXPECT_EQ(storedHex(polygon), stored);
    EXPECT_EQ(hex(polygon.encodedBytes(false)), "04 4D 90 00 BB 80 00 00 01 F4 41 F4 00 00");
    EXPECT_EQ(hex(polygon.encodedBytes(true)), "04 4D 90 00 BB 80 00 00 01 F4 C1 F4 00 00");
    EXPECT_EQ(storedHex(polygon), stored);

    const AirspaceRecord circle = recordOf("AC D\n" + kCentre + "DC 1\n");
    EXPECT_EQ(hex(circle.encodedBytes(false)), "04 4D 2C 00 BB 63 30 28");
    EXPECT_EQ(hex(circle.encodedBytes(true)), "04 4D 2C 00 BB 63 B0 28");

    const AirspaceRecord arc = recordOf("AC D\n" + kCentre + "DA 5,0,90\n");
    EXPECT_EQ(hex(arc.encodedBytes(true)), "04 4F 84 00 BB 80 00 00 00 92 60 C7 73 DE 0C 02 4B");
}

TEST(OutlineEncoderRules, RecordWithoutEncoder) {
    const AirspaceRecord stopped = recordOf("AC D\nAN Early\nDA 5,0,90\n");
    EXPECT_TRUE(stopped.parseStopped());
    EXPECT_EQ(stopped.encodedSize(), 0u);
    EXPECT_TRUE(stopped.encodedBytes(true).empty());
    EXPECT_TRUE(stopped.storedBytes().empty());
}

TEST(OutlineEncoderRules, ClosingAddsMidpointsButNotTheClosingEdge) {
    // A thin triangle whose way back from the far corner is 80 nm: two halvings on the way out,
    // one midpoint on the way back.
    OutlineEncoder encoder;
    encoder.begin(GeoPoint(0, 0));
    encoder.addPoint(GeoPoint(0, 8000));
    encoder.addPoint(GeoPoint(1, 8000));
    encoder.close();
    EXPECT_EQ(hex(encoder.bytes()),
              "00 00 00 00 00 00 0F A0 00 00 0F A0 00 00 00 00 00 01 10 60 00 00");
    // Halves are cut toward zero: the midpoint keeps the corner's longitude of 1.
    EXPECT_EQ(encoder.lastPoint(), GeoPoint(1, 4000));
}

}  // namespace
}  // namespace airspace
