// SPDX-License-Identifier: MIT
// Engine-only conversion of a 300 x 300 photograph-like picture, written to a new file in the
// current folder.
// Prints the median milliseconds per scenario, beside the median for writing the same bytes to a
// new file in one go (the floor the engine is measured against); the naive variant opens, appends
// and closes the page for every pixel, as a writer without buffering would.
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

// Each run writes a new page, as a conversion does; removing it is not timed.
double medianMs(int runs, const std::string &path, const std::function<void()> &body)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        std::filesystem::remove(path);
        const auto start = Clock::now();
        body();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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
    std::fputs(engine::documentHead(settings.page).c_str(), head);
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
    std::fputs(engine::documentTail(engine::Tail::Completion, settings.page.insertPre).c_str(), tail);
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
    for (int quality : {100, 10}) {
        for (bool two : {false, true}) {
            const engine::ScanSettings settings = settingsFor(quality, two);
            const double engineMs = medianMs(31, path, [&] { engineScan(settings, source, path); });
            const auto bytes = std::filesystem::file_size(path);
            std::string page(bytes, '\0');
            std::FILE *written = std::fopen(path.c_str(), "rb");
            const bool read = std::fread(page.data(), 1, page.size(), written) == page.size();
            std::fclose(written);
            const double writeMs = medianMs(31, path, [&] {
                const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
                if (!read || fd < 0 || ::write(fd, page.data(), page.size()) != ssize_t(page.size())) std::abort();
                ::close(fd);
            });
            const double naiveMs = naive ? medianMs(3, path, [&] { naiveScan(settings, source, path); }) : 0.0;
            char name[64];
            std::snprintf(name, sizeof name, "quality %d, %s per pixel", quality, two ? "two chars" : "one char");
            std::printf("%-34s %10.2f %10.2f %7.2f %10.1f %12ju\n", name, engineMs, writeMs, engineMs / writeMs,
                        naiveMs, std::uintmax_t(bytes));
        }
    }
    std::filesystem::remove(path);
    return 0;
}
