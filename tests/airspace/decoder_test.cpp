// Reading encodings back: the outline the preview draws and the airspaces an upload carries.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/AirspaceRecord.h"
#include "airspace/OutlineDecoder.h"
#include "tests/airspace/TestSupport.h"

namespace airspace {
namespace {

using testing::recordOf;

const std::string kCentre = std::string(testing::kCentreLine) + "\n";

TEST(OutlineDecoder, WalkArcSectorsAndDirections) {
    struct Case {
        const char* what;
        int startSector, steps;
        std::vector<OutlinePoint> points;
    };
    const std::vector<Case> cases = {
        {"clockwise from sector 4: first chord south, then sectors 11 and 10",
         4,
         -3,
         {{0, -100}, {-38, -192}, {-108, -263}}},
        {"counter-clockwise from east", 0, 2, {{100, 0}, {192, 38}}},
        {"no steps, no points", 5, 0, {}},
        {"sector 15 wraps to 0", 15, 2, {{92, -38}, {192, -38}}},
    };
    for (const auto& c : cases) {
        std::vector<OutlinePoint> points;
        walkArc(points, c.startSector, c.steps, 100, 0.0, 0.0, 1.0);
        EXPECT_EQ(points, c.points) << c.what;
    }
    // Positions accumulate unrounded: sixteen chords of a 16-gon end where they began.
    std::vector<OutlinePoint> round;
    walkArc(round, 0, 16, 1000, 5000.0, -300.0, 1.0);
    ASSERT_EQ(round.size(), 16u);
    EXPECT_NEAR(round.back().x, -300, 1);
    EXPECT_NEAR(round.back().y, 5000, 1);
}

TEST(OutlineDecoder, OutlinesOfTheWorkedExamples) {
    // Polygon: 500 units east is 341 distance units at 47 north; the closing point returns to 0.
    const AirspaceRecord polygon = recordOf(
        "AC D\nDP 47:00:00 N 008:00:00 E\nDP 47:00:00 N 008:05:00 E\n"
        "DP 47:05:00 N 008:05:00 E\n");
    EXPECT_EQ(decodeOutline(polygon),
              (std::vector<OutlinePoint>{{0, 0}, {341, 0}, {341, 500}, {0, 0}}));

    // Small circle: 15 chords of 40 counter-clockwise from the start vertex, then the closing
    // point.
    const auto circle = decodeOutline(recordOf("AC D\n" + kCentre + "DC 1\n"));
    ASSERT_EQ(circle.size(), 17u);
    EXPECT_EQ(circle.front(), (OutlinePoint{0, 0}));
    EXPECT_EQ(circle[1], (OutlinePoint{40, 0}));
    EXPECT_EQ(circle.back(), (OutlinePoint{0, 0}));
    EXPECT_NEAR(circle[15].x, -37, 1);  // the 16th chord would lead back to the start
    EXPECT_NEAR(circle[15].y, 15, 1);

    // Clockwise arc: vertex, three chords clockwise, end point measured from the vertex.
    const auto arc = decodeOutline(recordOf("AC D\n" + kCentre + "DA 5,0,90\n"));
    ASSERT_EQ(arc.size(), 7u);
    EXPECT_EQ(arc[1], (OutlinePoint{99, 0}));      // 146 longitude units east of the start
    EXPECT_EQ(arc[2].y, -76);                      // first chord east-south-east
    EXPECT_GT(arc[4].x, 400);                      // third chord ends near the east
    EXPECT_EQ(arc[5], (OutlinePoint{499, -500}));  // the end point, 500 south and 587 east
    EXPECT_EQ(arc[6], (OutlinePoint{0, 0}));
}

TEST(OutlineDecoder, ShortBrokenAndFullTurnEncodings) {
    EXPECT_TRUE(decodeOutline(std::vector<std::uint8_t>{}).empty());
    EXPECT_TRUE(
        decodeOutline(std::vector<std::uint8_t>{4, 0x4D, 0x2C, 0, 0xBB, 0x63, 0x30}).empty());
    EXPECT_TRUE(decodeOutline(recordOf("AC D\nAN no outline\n")).empty());

    // Without flags and cut off inside an item, reading stops at the end of the bytes.
    const std::vector<std::uint8_t> unterminated = {0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0x10, 0};
    EXPECT_EQ(decodeOutline(unterminated), (std::vector<OutlinePoint>{{0, 0}, {5, 0}, {0, 0}}));
    const std::vector<std::uint8_t> cutArc = {0, 0, 0, 0, 0, 0, 0x60, 0x10};
    EXPECT_EQ(decodeOutline(cutArc), (std::vector<OutlinePoint>{{0, 0}, {0, 0}}));

    // An edge count of 0 stands for all 16 edges.
    const std::vector<std::uint8_t> fullTurn = {0, 0, 0, 0, 0, 0, 0x70, 0x64, 0x00, 0x40, 0, 0, 0};
    const auto points = decodeOutline(fullTurn);
    ASSERT_EQ(points.size(), 1u + 16u + 1u + 1u);
    EXPECT_EQ(points[16], (OutlinePoint{0, 0}));
}

TEST(EncodedStream, SplitsAnUploadIntoItsAirspaces) {
    const auto records = parseAirspaces("AC D\n" + kCentre + "DC 1\nAC D\n" + kCentre +
                                        "DA 5,0,90\nAC D\nDP 47:00:00 N 008:00:00 E\n"
                                        "DP 47:00:00 N 008:05:00 E\nDP 47:05:00 N 008:05:00 E\n");
    ASSERT_EQ(records.size(), 3u);
    std::vector<std::uint8_t> upload;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto copy = records[i].encodedBytes(i + 1 == records.size());
        upload.insert(upload.end(), copy.begin(), copy.end());
    }
    ASSERT_EQ(upload.size(), 8u + 17u + 14u);
    upload.resize(blocksFor(upload.size()) * kDeviceBlockSize, 0);  // padding to whole blocks

    const auto found = splitEncodedAirspaces(upload);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_TRUE(found[0].circle);
    EXPECT_EQ(found[0].offset, 0u);
    EXPECT_EQ(found[0].length, 8u);
    EXPECT_EQ(found[0].start, GeoPoint(48000 - 29, 282000 - 100));
    EXPECT_EQ(found[1].offset, 8u);
    EXPECT_EQ(found[1].length, 17u);
    EXPECT_EQ(found[1].arcCommands, 1u);
    EXPECT_EQ(found[1].deltaPoints, 2u);
    EXPECT_EQ(found[2].offset, 25u);
    EXPECT_EQ(found[2].deltaPoints, 2u);
    for (const auto& a : found) EXPECT_TRUE(a.complete);
    EXPECT_FALSE(found[0].lastAirspace);
    EXPECT_FALSE(found[1].lastAirspace);
    EXPECT_TRUE(found[2].lastAirspace);

    // Without a last-airspace flag the stream runs into the padding and ends incomplete.
    const auto first = records[0].encodedBytes(false);
    std::vector<std::uint8_t> unflagged(first.begin(), first.end());
    unflagged.resize(14, 0);
    const auto open = splitEncodedAirspaces(unflagged);
    ASSERT_EQ(open.size(), 2u);
    EXPECT_TRUE(open[0].complete);
    EXPECT_FALSE(open[1].complete);
    EXPECT_EQ(open[1].length, 6u);
}

}  // namespace
}  // namespace airspace
