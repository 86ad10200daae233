#include "flashwizard/core/DeviceSearch.h"

#include "flashwizard/core/WizardStrings.h"
#include "seriallink/SerialPort.h"

namespace flashwizard {

namespace {

unsigned MessageForResult(IdentifyResult result) {
    switch (result) {
        case kWrongDevice:
            return kStrWrongDevice;
        case kNoAnswer:
            return kStrNoQuillon;
        case kLoaderFound:
        case kCommFailure:
            break;
    }
    return kStrTransferError;
}

}  // namespace

SearchOutcome DeviceSearch::Run(const std::string& portName, bool& searchFailed) {
    attempts_ = 0;
    // The loader listens at 9600 baud when the instrument enters download mode.
    const bool opened = port_.Open(portName, kSlowBaud);
    // A failed update may have left the link at 115200; from here the PC side runs at 9600, and
    // identifying must not reopen at 115200 after a silence, nor leave the port there.
    link_.fastRate = false;
    if (!opened) {
        lastResult_ = kCommFailure;
        ShowWizardError(owner_, kStrPortNotOpened);
        return SearchOutcome::PortNotOpened;
    }
    LoaderClient loader(port_, link_, timing_);
    for (int attempt = 1; attempt <= kSearchAttempts; ++attempt) {
        attempts_ = attempt;
        statusLine_.SetStatusLine(attempt == 1 ? WizardText(kStrSearching)
                                               : WizardText(kStrSearchAttempt, {attempt}));
        lastResult_ = loader.IdentifyLoader();
        if (lastResult_ == kLoaderFound) break;
        port_.Sleep(timing_.searchPause);
    }
    statusLine_.SetStatusLine(std::string());
    if (lastResult_ == kLoaderFound) {
        searchFailed = false;
        return SearchOutcome::Found;
    }
    ShowWizardError(owner_, MessageForResult(lastResult_));
    searchFailed = true;
    return SearchOutcome::NotFound;
}

}  // namespace flashwizard
