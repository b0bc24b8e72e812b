// SPDX-License-Identifier: MIT
// Engine-only conversion of a 300 x 300 photograph-like picture, written to a new file in the
// current folder.
// Prints the median milliseconds per scenario, beside the median for writing the same bytes to a
// new file in one go (the floor the engine is measured against) and the median ratio of the two;
// the naive variant opens, appends and closes the page for every pixel, as a writer without
// buffering would.
#include "engine/colorcode.h"
#include "engine/pagefile.h"
#include "engine/scan.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Smooth gradients with fine noise: long runs at low quality, few at quality 100, like a photo.
class PhotoSource : public engine::PixelSource
{
public:
    PhotoSource() : m_pixels(300 * 300)
    {
        uint32_t noise = 12345;
        for (int y = 0; y < 300; ++y) {
            for (int x = 0; x < 300; ++x) {
                noise = noise * 1103515245 + 12345;
                const int n = int((noise >> 16) % 9) - 4;
                const int r = std::clamp(int(128 + 100 * std::sin(x / 40.0) + n), 0, 255);
                const int g = std::clamp(int(128 + 90 * std::cos(y / 33.0) + n), 0, 255);
                const int b = std::clamp(int((x + y) * 255 / 598) + n, 0, 255);
                m_pixels[y * 300 + x] = r | g << 8 | b << 16;
            }
        }
    }
    int32_t pixel(int x, int y) override { return m_pixels[y * 300 + x]; }
    void pixels(int x, int y, int n, int32_t *out) override { std::copy_n(m_pixels.begin() + y * 300 + x, n, out); }

private:
    std::vector<int32_t> m_pixels;
};

class NoEvents : public engine::ScanHost
{
public:
    void processEvents() override {}
};

// One timed run of body, which writes a new page at path; removing it is not timed.
double timedMs(const std::string &path, const std::function<void()> &body)
{
    std::filesystem::remove(path);
    const auto start = Clock::now();
    body();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string readFile(const std::string &path)
{
    std::string bytes(std::filesystem::file_size(path), '\0');
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file || std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
    std::fclose(file);
    return bytes;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

engine::ScanSettings settingsFor(int quality, bool two)
{
    engine::ScanSettings s;
    s.quality = quality;
    s.twoCharsPerPixel = two;
    s.seed = 7;
    return s;
}

void engineScan(const engine::ScanSettings &settings, PhotoSource &source, const std::string &path)
{
    engine::Conversion conversion(settings);
    NoEvents host;
    engine::PageFile page = engine::replacePage(path);
    conversion.startDocument(page);
    conversion.Loopconvert(source, host);
}

// One open/append/close per pixel; the same pieces as the engine writes, message fixed to "01".
void naiveScan(const engine::ScanSettings &settings, PhotoSource &source, const std::string &path)
{
    std::FILE *head = std::fopen(path.c_str(), "wb");
    std::fputs(engine::documentHead(settings.page, settings.twoCharsPerPixel ? 2 : 1).c_str(), head);
    std::fclose(head);
    engine::ColorEncoder encoder(settings.quality);
    uint32_t previous = 0;
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 300; ++x) {
            const uint32_t rgb = encoder.ConvertRGB(source.pixel(x, y));
            std::string piece;
            if (x == 0 || rgb != previous) {
                piece = x == 0 ? "<font color=#" : "</font><font color=#";
                engine::appendHex(piece, rgb);
                piece += '>';
            }
            piece += settings.twoCharsPerPixel ? "01" : "0";
            if (x == 299) piece += "</font><br>";
            previous = rgb;
            std::FILE *file = std::fopen(path.c_str(), "ab");
            std::fwrite(piece.data(), 1, piece.size(), file);
            std::fclose(file);
        }
    }
    std::FILE *tail = std::fopen(path.c_str(), "ab");
    std::fputs(engine::pageTail(settings.page, engine::Tail::Completion, false).c_str(), tail);
    std::fclose(tail);
}

} // namespace

int main(int argc, char *argv[])
{
    // "--engine-only" skips the slow naive variant, for profiling.
    const bool naive = !(argc > 1 && std::string(argv[1]) == "--engine-only");
    PhotoSource source;
    const std::string path = (std::filesystem::current_path() / "lumirune-bench.htm").string();
    std::printf("%-34s %10s %10s %7s %10s %12s\n", "scenario (300 x 300 pixels)", "engine ms", "write ms", "ratio",
                "naive ms", "page bytes");
    for (int quality : {100, 90, 10}) {
        for (bool two : {false, true}) {
            const engine::ScanSettings settings = settingsFor(quality, two);
            // The engine and the plain write take turns, so that a machine whose speed drifts
            // (shared cores) slows both alike; the ratio is the median of each pair's.
            std::string page;
            std::vector<double> engineTimes, writeTimes, ratios;
            for (int run = 0; run < 41; ++run) {
                const double engineRun = timedMs(path, [&] { engineScan(settings, source, path); });
                if (page.empty()) page = readFile(path);
                const double writeRun = timedMs(path, [&] {
                    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
                    if (fd < 0 || ::write(fd, page.data(), page.size()) != ssize_t(page.size())) std::abort();
                    ::close(fd);
                });
                if (run == 0) continue; // first touches of memory and caches
                engineTimes.push_back(engineRun);
                writeTimes.push_back(writeRun);
                ratios.push_back(engineRun / writeRun);
            }
            const double naiveMs = naive ? median({timedMs(path, [&] { naiveScan(settings, source, path); }),
                                                   timedMs(path, [&] { naiveScan(settings, source, path); }),
                                                   timedMs(path, [&] { naiveScan(settings, source, path); })})
                                         : 0.0;
            char name[64];
            std::snprintf(name, sizeof name, "quality %d, %s per pixel", quality, two ? "two chars" : "one char");
            std::printf("%-34s %10.2f %10.2f %7.2f %10.1f %12zu\n", name, median(engineTimes), median(writeTimes),
                        median(ratios), naiveMs, page.size());
        }
    }
    std::filesystem::remove(path);
    return 0;
}
