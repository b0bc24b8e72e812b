// SPDX-License-Identifier: MIT
#include "convertoptions.h"

#include "commandline.h"
#include "engine/pagecommit.h"
#include "optionvalues.h"

#include <algorithm>

namespace cli {

namespace {

// The pictures and the page's name.
bool readPictures(const ParsedLine &p, ConvertJob &job)
{
    job.pictures = p.positional;
    // The standard streams by their names in /dev are the streams themselves.
    for (std::string &picture : job.pictures)
        if (engine::standardStreamNamed(picture) == 0) picture = "-";
    if (job.pictures.empty()) {
        job.error = "no picture given";
        return false;
    }
    if (std::count(job.pictures.begin(), job.pictures.end(), "-") > 1) {
        job.error = "standard input (-) can be read only once";
        return false;
    }
    if (p.isSet(kOutput)) {
        job.output = p.value(kOutput);
        if (engine::standardStreamNamed(job.output) == 1) job.output = "-";
        if (job.output.empty()) {
            job.error = invalid(kOutput, "", "the file name is empty");
            return false;
        }
        if (job.pictures.size() > 1) {
            job.error = "-o names one page, but more than one picture was given";
            return false;
        }
    }
    return true;
}

} // namespace

ConvertJob parseArguments(const std::vector<std::string> &arguments)
{
    ConvertJob job;
    const ParsedLine p = parseLine(arguments);
    if (!p.error.empty()) {
        job.error = p.error;
        return job;
    }
    job.helpRequested = p.isSet(kHelp);
    job.versionRequested = !job.helpRequested && p.isSet(kVersion);
    if (job.helpRequested || job.versionRequested) return job;
    if (!readPictures(p, job) || !readSizeOptions(p, job) || !readPageOptions(p, job) || !readCharacterOptions(p, job))
        return job;
    // A batch has no window to keep alive, so events are never processed.
    job.settings.eventInterval = engine::kNoEvents;
    return job;
}

} // namespace cli
