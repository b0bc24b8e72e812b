// SPDX-License-Identifier: MIT
// lumirune-convert: the window's conversion for many pictures at once, from the command line.
#include "cli/convertoptions.h"
#include "cli/interruption.h"
#include "cli/optiontable.h"
#include "cli/pictureconversion.h"
#include "cli/terminal.h"
#include "engine/pagecommit.h"
#include "engine/pagefile.h"
#include "engine/terminaltext.h"
#include "engine/version.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <mutex>
#include <sched.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

void report(const std::string &subject, const std::string &message)
{
    const std::string line = "lumirune-convert: " + subject + ": " + engine::escapedText(message) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

// The processor cores this process may run on.
int usableCores()
{
    cpu_set_t cores;
    if (sched_getaffinity(0, sizeof cores, &cores) == 0) return std::max(1, CPU_COUNT(&cores));
    return std::max(1u, std::thread::hardware_concurrency());
}

// Converts the pictures on up to jobs threads and hands each result to done() in the order the
// pictures were given, as soon as it and every one before it are finished.
template <typename Done> void convertAll(const cli::ConvertJob &job, int jobs, Done done)
{
    const int count = int(job.pictures.size());
    std::vector<cli::PictureResult> results(count);
    std::vector<bool> finished(count, false);
    std::mutex mutex;
    std::condition_variable ready;
    std::atomic<int> next{0};
    cli::ClaimOrder order;
    if (std::min(jobs, count) <= 1) {
        for (int i = 0; i < count; ++i)
            done(cli::convertPicture(job.pictures[i], job, i, order));
        return;
    }
    const auto work = [&] {
        for (int i; (i = next++) < count;) {
            cli::PictureResult result = cli::convertPicture(job.pictures[i], job, i, order);
            const std::lock_guard<std::mutex> lock(mutex);
            results[i] = std::move(result);
            finished[i] = true;
            ready.notify_one();
        }
    };
    std::vector<std::thread> workers;
    for (int i = 0; i < std::min(jobs, count); ++i)
        workers.emplace_back(work);
    for (int i = 0; i < count; ++i) {
        std::unique_lock<std::mutex> lock(mutex);
        ready.wait(lock, [&] { return finished[i]; });
        cli::PictureResult result = std::move(results[i]);
        lock.unlock();
        done(result);
    }
    for (std::thread &worker : workers)
        worker.join();
}

} // namespace

int main(int argc, char *argv[])
{
#ifdef __GLIBC__
    // Each picture allocates and frees the same few megabytes (picture, pixels, page buffer). Kept by
    // the allocator rather than handed back and faulted in afresh, a batch takes a third of the time.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
    // Past a file size limit, or with the reader of a pipe gone, a write then fails and is
    // reported, instead of the signal ending the batch.
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    engine::reserveStandardDescriptors();
    cli::Interruption::install();
    cli::ConvertJob job = cli::parseArguments(std::vector<std::string>(argv, argv + argc));
    if (!job.error.empty()) {
        report("error", job.error);
        std::fputs("Try 'lumirune-convert --help'.\n", stderr);
        return 2;
    }
    if (job.helpRequested || job.versionRequested) {
        const std::string text =
            job.helpRequested ? cli::helpText() : "lumirune-convert " + std::string(engine::kVersion) + "\n";
        return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (!job.output.empty() && job.output != "-") {
        for (const std::string &picture : job.pictures) {
            if (engine::sameFile(job.output, picture)) {
                report("error",
                       "-o names the picture " + engine::shellQuoted(picture) + ", which the page would overwrite");
                return 2;
            }
        }
    }
    job.terminal = cli::describeTerminal(STDOUT_FILENO);
    // When a page goes to standard output, nothing else may: page names go with the messages.
    const bool pageOnStandardOutput = std::any_of(job.pictures.begin(), job.pictures.end(), [&](const std::string &p) {
        return cli::pageTarget(p, job) == cli::PageTarget::StandardOutput;
    });
    std::FILE *names = pageOnStandardOutput ? stderr : stdout;
    bool allWritten = true;
    int namesError = 0; // a page name that could not be printed fails the run like a page
    convertAll(job, job.jobs > 0 ? job.jobs : usableCores(), [&](const cli::PictureResult &result) {
        std::fwrite(result.messages.data(), 1, result.messages.size(), stderr);
        const std::size_t size = result.pageName.size();
        if ((std::fwrite(result.pageName.data(), 1, size, names) != size || std::fflush(names) != 0) && !namesError)
            namesError = errno;
        allWritten = allWritten && result.written;
    });
    if (namesError == EPIPE) return 1; // nobody reads the names: end quietly, as a filter does
    if (namesError) {
        report(names == stdout ? "standard output" : "standard error", std::strerror(namesError));
        return 1;
    }
    return allWritten ? 0 : 1;
}
