// quillon list FILE: the airspace list exactly as the setup dialog shows it, with the totals.
#include <cstddef>
#include <iostream>
#include <string>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "airspace/AirspaceRecord.h"
#include "tools/quillon/command.h"

namespace {

// One line naming the file and why it could not be read.
int loadFailure(const std::string& path, const airspace::LoadResult& result) {
    if (result.status == airspace::LoadStatus::SystemError) {
        return quillon::fail("cannot read '" + path + "': " + result.systemErrorText);
    }
    return quillon::fail("cannot read '" + path + "': the file could not be read completely");
}

int runList(const std::vector<std::string>& args) {
    if (args.size() != 1) return quillon::fail("usage: quillon list FILE", 2);
    const airspace::LoadResult result = airspace::loadAirspaceFile(args[0]);
    if (result.status != airspace::LoadStatus::Ok) return loadFailure(args[0], result);

    std::size_t totalBytes = 0;
    std::cout << airspace::airspaceListHeader() << '\n';
    for (const auto& record : result.records) {
        std::cout << record.listLine() << '\n';
        totalBytes += record.encodedSize();
    }
    std::cout << result.records.size()
              << (result.records.size() == 1 ? " airspace, " : " airspaces, ") << totalBytes
              << " bytes, " << airspace::blocksFor(totalBytes) << " blocks\n";
    return std::cout.good() ? 0 : 1;
}

}  // namespace

quillon::Command quillon::listCommand() {
    return {
        "list", "list FILE",
        "List the airspaces of an OpenAir FILE as the setup dialog does, with the total bytes and "
        "blocks",
        runList};
}
