// SPDX-License-Identifier: MIT
// The picture decoder against Qt's readers (the whole picture, cut to the box's top-left 300 x 300):
// a 300 x 300 photograph-like picture as JPEG, PNG, GIF, BMP, TIFF, HEIC and AVIF, and a
// 4000 x 3000 JPEG. Prints the first call (Qt loads its plugins then) and the median of later calls
// in ms, and whether both give the same pixels (where Qt has no reader for the format, its column
// times the refusal).
#include "decode/decode.h"
#include "picturesource/picturefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Timing
{
    double first;
    double median;
};

Timing time(int runs, const std::function<void()> &body)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        body();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    const double first = times.front();
    std::sort(times.begin() + 1, times.end());
    return {first, times[1 + (times.size() - 1) / 2]};
}

decode::Result decodePath(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    decode::Result result = decode::decodeFile(fd);
    ::close(fd);
    return result;
}

QImage readWithQt(const QString &path)
{
    const QImage whole(path);
    return whole.copy(whole.rect() & QRect(0, 0, 300, 300));
}

bool same(const QImage &picture, const decode::Result &decoded)
{
    if (picture.isNull() || !decoded.ok()) return false;
    const QImage area = picturesource::composeDrawingArea(picture);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) {
            const uint32_t want = picturesource::toColorValue(area.pixel(x, y));
            const bool inside = x < decoded.canvas.width && y < decoded.canvas.height;
            if (want != (inside ? decoded.canvas.pixel(x, y) : 0xFFFFFFu)) return false;
        }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    const QString dir = work.path();
    const std::string make = "cd '" + dir.toStdString() +
                             "' && convert -size 300x300 -seed 3 plasma:fractal -depth 8 photo.png"
                             " && convert photo.png -depth 16 photo16.png && convert photo.png -quality 90 photo.jpg "
                             "&& convert photo.png photo.gif"
                             " && convert photo.png -type TrueColor BMP3:photo.bmp"
                             " && convert photo.png -compress lzw photo.tif"
                             " && convert photo.png -quality 90 photo.heic && convert photo.png -quality 90 photo.avif"
                             " && convert photo.png -resize 4000x3000! -quality 90 large.jpg";
    if (std::system(make.c_str()) != 0) {
        std::fprintf(stderr, "bench_decode: ImageMagick's convert could not make the pictures\n");
        return 1;
    }
    std::printf("%-28s %20s %20s  %s\n", "picture (ms: first/median)", "decoder", "Qt reader", "pixels");
    for (const char *name : {"photo.jpg", "photo.png", "photo16.png", "photo.gif", "photo.bmp", "photo.tif",
                             "photo.heic", "photo.avif", "large.jpg"}) {
        const QString path = QDir(dir).filePath(name);
        const int runs = 101;
        const Timing ours = time(runs, [&] { decodePath(path); });
        const Timing qt = time(runs, [&] { readWithQt(path); });
        std::printf("%-28s %9.2f / %8.3f %9.2f / %8.3f  %s\n", name, ours.first, ours.median, qt.first, qt.median,
                    readWithQt(path).isNull()                  ? "no Qt reader"
                    : same(readWithQt(path), decodePath(path)) ? "same"
                                                               : "DIFFERENT");
    }
    return 0;
}
