// The upload's steps against a scripted port: what goes into each exchange, the retries and
// pauses, and the one message every outcome ends in.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "seriallink/AirspacePort.h"
#include "seriallink/testing/FakeBackend.h"
#include "seriallink/testing/Recorders.h"
#include "tests/zonesend/ZonesendTestSupport.h"
#include "zonesend/AirspaceUpload.h"
#include "zonesend/Strings.h"

namespace {

using airspace::AirspaceRecord;
using seriallink::testing::MessageRecorder;
using zonesend::AirspaceUpload;
using zonesend::UploadOutcome;
using zonesend::UploadSelection;
using namespace std::chrono_literals;

// One scripted answer: the exchange's result code and, on success, the byte it leaves in the
// buffer (the free-block count, or the store's answer to a block). On the line that is the
// framed count or the answer byte; result 6 is silence, 2 a frame with a wrong checksum, 8 a
// frame cut short after two bytes.
struct Answer {
    unsigned result = 0;
    std::uint8_t byte = 0;
};

// The store on an in-memory line under the process's airspace port. Its journal holds, in
// order, "open //./COM5", "query", "block 00", "sleep 100", "close" and (from the messages
// below) "message".
struct ScriptedStore {
    seriallink::testing::FakeLine line;
    std::deque<Answer> answers;  // when empty: F = 228 for a query, 0x51 for a block
    std::vector<std::vector<std::uint8_t>> payloads;

    ScriptedStore() { Reset(); }
    ~ScriptedStore() { seriallink::airspaceport::SetBackendFactory({}); }

    void Reset() {
        line = seriallink::testing::FakeLine{};
        answers.clear();
        payloads.clear();
        line.onWrite = [this](const std::string& sent, seriallink::testing::FakeLine& l) {
            Reply(sent, l);
        };
        seriallink::airspaceport::SetBackendFactory(line.Factory());
    }
    // The journal without the sleeps.
    [[nodiscard]] std::vector<std::string> events() const {
        std::vector<std::string> out;
        for (const auto& e : line.journal) {
            if (e.rfind("sleep", 0) != 0) out.push_back(e);
        }
        return out;
    }

private:
    void Reply(const std::string& sent, seriallink::testing::FakeLine& l) {
        const std::vector<std::uint8_t> frame(sent.begin(), sent.end());
        EXPECT_TRUE(seriallink::airspaceport::FrameValid(frame));
        payloads.emplace_back(frame.begin() + 1, frame.end() - 1);
        const bool query = frame.size() == 3;
        char name[16];
        std::snprintf(name, sizeof name, "block %02X", frame.size() > 2 ? frame[2] : 0);
        l.journal.push_back(query ? "query" : name);
        Answer answer{0, static_cast<std::uint8_t>(query ? 228 : 0x51)};
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        const std::vector<std::uint8_t> reply =
            seriallink::airspaceport::MakeFrame(std::vector<std::uint8_t>{answer.byte});
        if (answer.result == 0) {
            if (query) {
                l.Feed(std::string(reply.begin(), reply.end()));
            } else {
                l.Feed(1, answer.byte);
            }
        } else if (answer.result == 2) {
            l.Feed(std::string{char(0x40), char(answer.byte), char(0x41 ^ answer.byte)});
        } else if (answer.result == 8) {
            l.Feed(std::string(reply.begin(), reply.begin() + 2));
        }
    }
};

// Notes, for each message, whether the port was open and the dialog's flag set meanwhile.
class WatchingMessages : public MessageRecorder {
public:
    ScriptedStore* store = nullptr;
    const bool* sending = nullptr;
    std::vector<std::string> states;
    seriallink::MessageAnswer ShowMessageBox(const seriallink::MessageBoxRequest& r) override {
        states.push_back(std::string(store->line.isOpen ? "open" : "closed") +
                         (*sending ? " sending" : " idle"));
        store->line.journal.push_back("message");
        return MessageRecorder::ShowMessageBox(r);
    }
};

class UploadTest : public ::testing::Test {
protected:
    zstest::StringsInstalled strings{seriallink::Language::English};
    ScriptedStore link;
    WatchingMessages messages;
    bool sending = false;
    std::vector<AirspaceRecord> records;

    void SetUp() override {
        messages.store = &link;
        messages.sending = &sending;
    }

    UploadOutcome send(const std::vector<int>& lines, const std::string& port = "COM5") {
        UploadSelection selection;
        for (int i : lines) selection.airspaces.push_back(&records[static_cast<std::size_t>(i)]);
        AirspaceUpload upload(&messages, sending);
        return upload.run(selection, port, 57600);
    }
    [[nodiscard]] std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages.shown) out.push_back(m.text);
        return out;
    }
    void addTriangles(int count) {
        for (int i = 0; i < count; ++i) records.emplace_back(zstest::triangleText("T", i));
    }
};

TEST_F(UploadTest, SuccessSendsQueryThenNumberedBlocksAndClosesBeforeTheMessage) {
    records.emplace_back(zstest::triangleText("A"));
    records.emplace_back(zstest::circleText("B"));
    records.emplace_back(zstest::arcText("C"));
    // 14 + 8 + 21 = 43 bytes: 4 blocks, 13 of them padding.
    EXPECT_EQ(send({0, 1, 2}), UploadOutcome::Succeeded);
    EXPECT_EQ(link.events(),
              (std::vector<std::string>{"open //./COM5", "query", "block 00", "block 01",
                                        "block 02", "block F7", "close", "message"}));
    EXPECT_EQ(link.line.line.baudRate, 57600u);
    EXPECT_EQ(texts(), std::vector<std::string>{"Download succeded"});
    // A success reads as one: the program's name and the information icon.
    EXPECT_EQ(messages.shown[0].caption, "Airspace Setup");
    EXPECT_EQ(messages.shown[0].icon, seriallink::MessageIcon::Information);
    EXPECT_EQ(messages.states, std::vector<std::string>{"closed idle"});
    EXPECT_EQ(link.payloads[0], std::vector<std::uint8_t>{'n'});

    std::vector<std::uint8_t> expected = records[0].encodedBytes(false);
    for (auto b : records[1].encodedBytes(false)) expected.push_back(b);
    for (auto b : records[2].encodedBytes(true)) expected.push_back(b);
    expected.resize(56, 0);
    std::vector<std::uint8_t> sent;
    for (std::size_t k = 1; k < link.payloads.size(); ++k) {
        ASSERT_EQ(link.payloads[k].size(), 16u);
        EXPECT_EQ(link.payloads[k][0], 'N');
        sent.insert(sent.end(), link.payloads[k].begin() + 2, link.payloads[k].end());
    }
    EXPECT_EQ(zstest::hex(sent), zstest::hex(expected));
    EXPECT_TRUE(link.line.sleeps.empty());
}

TEST_F(UploadTest, BlockNumbersAndPaddingByTotal) {
    struct Case {
        int triangles;
        int circles;
        std::vector<std::string> blocks;
    };
    const std::vector<std::string> full = [] {
        std::vector<std::string> names;
        char name[16];
        for (int k = 0; k < 227; ++k) {
            std::snprintf(name, sizeof name, "block %02X", k);
            names.push_back(name);
        }
        names.push_back("block F7");
        return names;
    }();
    const std::vector<Case> cases = {
        {0, 1, {"block F7"}},              // 8 bytes: one block, numbered F7
        {1, 0, {"block F7"}},              // 14 bytes exactly
        {1, 1, {"block 00", "block F7"}},  // 22 bytes
        {228, 0, full},                    // 3192 bytes: 00 .. E2, then F7
    };
    for (const Case& c : cases) {
        records.clear();
        link.Reset();
        addTriangles(c.triangles);
        for (int i = 0; i < c.circles; ++i) records.emplace_back(zstest::circleText("C"));
        std::vector<int> all;
        for (std::size_t i = 0; i < records.size(); ++i) all.push_back(static_cast<int>(i));
        EXPECT_EQ(send(all), UploadOutcome::Succeeded);
        std::vector<std::string> blocks;
        for (const auto& e : link.events()) {
            if (e.rfind("block", 0) == 0) blocks.push_back(e);
        }
        EXPECT_EQ(blocks, c.blocks) << c.triangles << " triangles, " << c.circles << " circles";
        // The padding after the data is zero.
        const auto& last = link.payloads.back();
        const std::size_t total = c.triangles * 14u + c.circles * 8u;
        const std::size_t used = total % 14 == 0 ? 14 : total % 14;
        for (std::size_t i = 2 + used; i < 16; ++i) EXPECT_EQ(last[i], 0) << i;
    }
}

TEST_F(UploadTest, LastAirspaceFlagGoesToTheLastSelectedAirspaceWithBytes) {
    records.emplace_back(zstest::triangleText("A"));
    records.emplace_back(zstest::triangleText("B"));
    records.emplace_back(zstest::brokenText("Broken"));
    ASSERT_EQ(records[2].encodedSize(), 0u);
    EXPECT_EQ(send({0, 1, 2}), UploadOutcome::Succeeded);
    // Byte 10 of each triangle is the first byte of its last delta point.
    const auto& block0 = link.payloads[1];
    EXPECT_EQ(block0[2 + 10], 0x40);  // A: last point only
    const auto& block1 = link.payloads[2];
    EXPECT_EQ(block1[2 + 10], 0xC0);  // B: last point and last airspace
}

TEST_F(UploadTest, OutcomesBeforeThePortIsTouched) {
    addTriangles(229);
    records.emplace_back(zstest::brokenText("Broken"));
    struct Case {
        bool listError;
        std::vector<int> lines;
        UploadOutcome outcome;
        std::string text;
    };
    std::vector<int> over;
    for (int i = 0; i < 229; ++i) over.push_back(i);
    const std::vector<Case> cases = {
        {true, {0}, UploadOutcome::SelectionError, "Unexpected Error at select items"},
        {false, {}, UploadOutcome::NothingSelected, "No data selected"},
        {false, {229}, UploadOutcome::NoData, "The selected airspaces hold no outline data"},
        {false, over, UploadOutcome::TooLarge,
         "You can not load more than 3192 bytes/228 blocks of airspace data into Quillon\n"
         "Please reduce selected airspaces."},
    };
    for (const Case& c : cases) {
        link.line.journal.clear();
        messages.shown.clear();
        UploadSelection selection;
        selection.listError = c.listError;
        for (int i : c.lines) selection.airspaces.push_back(&records[static_cast<std::size_t>(i)]);
        AirspaceUpload upload(&messages, sending);
        EXPECT_EQ(upload.run(selection, "COM5", 57600), c.outcome);
        EXPECT_EQ(link.events(), std::vector<std::string>{"message"}) << c.text;
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, c.text);
        EXPECT_EQ(messages.shown[0].icon, seriallink::MessageIcon::Exclamation);
        EXPECT_FALSE(sending);
    }
}

TEST_F(UploadTest, ExactlyTheCapacityIsSent) {
    addTriangles(228);
    std::vector<int> all;
    for (int i = 0; i < 228; ++i) all.push_back(i);
    link.answers = {{0, 228}};
    EXPECT_EQ(send(all), UploadOutcome::Succeeded);
}

TEST_F(UploadTest, PortThatCannotBeOpened) {
    records.emplace_back(zstest::triangleText("A"));
    link.line.present = false;
    EXPECT_EQ(send({0}, ""), UploadOutcome::PortNotOpened);
    EXPECT_EQ(link.line.lastPath, "//./");
    EXPECT_EQ(link.events(), (std::vector<std::string>{"message"}));
    EXPECT_EQ(texts(), std::vector<std::string>{"Can not open port"});
    EXPECT_EQ(messages.states, std::vector<std::string>{"closed sending"});
    EXPECT_FALSE(sending);
}

TEST_F(UploadTest, QueryRetriesAfterAPauseAndGivesUpAfterThree) {
    records.emplace_back(zstest::triangleText("A"));
    link.answers = {{6, 0}, {2, 0}, {0, 10}};
    EXPECT_EQ(send({0}), UploadOutcome::Succeeded);
    EXPECT_EQ(link.line.sleeps, (std::vector<std::chrono::milliseconds>{100ms, 100ms}));

    link.Reset();
    messages.shown.clear();
    messages.states.clear();
    link.answers = {{6, 0}, {6, 0}, {8, 0}};
    EXPECT_EQ(send({0}), UploadOutcome::NoResponse);
    // The pause follows the third failure too, then the message while the port is still held.
    EXPECT_EQ(link.line.sleeps, (std::vector<std::chrono::milliseconds>{100ms, 100ms, 100ms}));
    EXPECT_EQ(link.events(), (std::vector<std::string>{"open //./COM5", "query", "query", "query",
                                                       "message", "close"}));
    EXPECT_EQ(texts(), std::vector<std::string>{"No responce from Quillon"});
    EXPECT_EQ(messages.states, std::vector<std::string>{"open sending"});
    EXPECT_FALSE(sending);
}

TEST_F(UploadTest, RefusedBlocksAreAskedAgainAtOnceSilentOnesAfterAPause) {
    records.emplace_back(zstest::triangleText("A"));
    records.emplace_back(zstest::triangleText("B"));
    // Block 00 refused twice (N, then garbage), accepted the third time; block F7 silent once.
    link.answers = {{0, 228}, {0, 'N'}, {0, 0x00}, {0, 'Q'}, {6, 0}, {0, 'Q'}};
    EXPECT_EQ(send({0, 1}), UploadOutcome::Succeeded);
    EXPECT_EQ(link.line.sleeps, std::vector<std::chrono::milliseconds>{100ms});
    EXPECT_EQ(link.events(),
              (std::vector<std::string>{"open //./COM5", "query", "block 00", "block 00",
                                        "block 00", "block F7", "block F7", "close", "message"}));
    // Every attempt sends the whole frame afresh.
    EXPECT_EQ(link.payloads[1], link.payloads[3]);

    link.Reset();
    messages.shown.clear();
    link.answers = {{0, 228}, {0, 'N'}, {0, 'N'}, {0, 'N'}};
    EXPECT_EQ(send({0, 1}), UploadOutcome::NoResponse);
    EXPECT_EQ(texts(), std::vector<std::string>{"No responce from Quillon"});
    EXPECT_EQ(link.events().back(), "close");
}

TEST_F(UploadTest, NotEnoughFreeSpaceInGerman) {
    // English, with its two blanks before each number, is checked against the simulated store.
    zstest::StringsInstalled german(seriallink::Language::German);
    records.emplace_back(zstest::triangleText("A"));
    records.emplace_back(zstest::circleText("B"));
    records.emplace_back(zstest::arcText("C"));
    link.answers = {{0, 3}};  // 42 bytes free, 43 needed
    EXPECT_EQ(send({0, 1, 2}), UploadOutcome::NotEnoughSpace);
    EXPECT_EQ(texts(), std::vector<std::string>{
                           "Nicht genug freier Speicherplatz. 43 bytes benötigt aber nur 42 "
                           "bytes frei."});
    EXPECT_EQ(messages.shown[0].caption, "Fehler");
    EXPECT_EQ(link.events().back(), "close");
    EXPECT_EQ(messages.states, std::vector<std::string>{"open sending"});
}

TEST(UploadImage, BlockPayloadOfAPartialLastBlock) {
    std::vector<std::uint8_t> image(28, 0);
    image[14] = 0xAB;  // 15 bytes of data: block 00 full, block F7 with one byte
    const auto first = zonesend::blockPayload(image, 0, 2);
    const auto last = zonesend::blockPayload(image, 1, 2);
    EXPECT_EQ(first[1], 0x00);
    EXPECT_EQ(last[1], 0xF7);
    EXPECT_EQ(last[2], 0xAB);
    for (std::size_t i = 3; i < 16; ++i) EXPECT_EQ(last[i], 0);
}

}  // namespace
