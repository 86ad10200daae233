// The firmware update: reset, fast mode, erase, every record, slow mode, start, in up to six
// passes of up to six attempts per step.
//
// A plain class so that the worker thread of the wizard, the command line and the tests drive the
// same sequence; every effect on the pilot's screen goes through UpdateReport.
#pragma once

#include <string>
#include <vector>

#include "flashwizard/core/LinkState.h"
#include "flashwizard/core/LoaderProtocol.h"
#include "flashwizard/core/LoaderTiming.h"
#include "flashwizard/core/UpdateReport.h"

namespace seriallink {
class SerialPort;
}

namespace flashwizard {

inline constexpr int kMaxPasses = 6;
inline constexpr int kMaxStepAttempts = 6;
inline constexpr int kMaxRecordAttempts = 6;
inline constexpr char kEndRecord[] = ":00000001FF";

class UpdateSequence {
public:
    // hexLines: the validated record lines, the end record last. Every pass works on a copy.
    UpdateSequence(seriallink::SerialPort& port, LinkState& link,
                   const std::vector<std::string>& hexLines, UpdateReport& report,
                   const LoaderTiming& timing = LoaderTiming{});

    // The whole update, as the wizard's worker thread runs it. True when the new program was
    // started; either way the outcome has been reported (box, Next text, buttons).
    bool Run();

    // Writes the records of one pass; false when a record was refused six times.
    [[nodiscard]] bool DownloadLines(std::vector<std::string> lines, int pass);

private:
    struct Step {
        unsigned firstText;  // status on the first attempt
        unsigned laterText;  // status from the second attempt on, with the attempt number
    };
    template <typename Operation>
    bool RunStep(const Step& step, Operation operation);
    bool RunPass(int pass);
    void ShowDownloadTitle(int pass);

    seriallink::SerialPort& port_;
    LinkState& link_;
    const std::vector<std::string>& hexLines_;
    UpdateReport& report_;
    LoaderTiming timing_;
    LoaderClient loader_;
};

}  // namespace flashwizard
