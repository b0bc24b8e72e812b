// SPDX-License-Identifier: MIT
// The window's Convert on a 300 x 300 photograph-like picture, headless: the time from the OK of
// "Are you sure?" to the "Convert Complete" box, and how soon a STOP click takes effect.
// Message boxes answer at once; everything else is the real program.
#include "mainwindow/convertframe.h"
#include "mainwindow/quennet.h"
#include "picture/pictureframe.h"
#include "platform/qtplatform.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

class BenchPlatform : public platform::QtPlatform
{
public:
    platform::Answer message(const QString &text, const QString &, platform::Buttons, bool) override
    {
        const auto now = Clock::now();
        if (text == "Convert Complete" || text == "Convert aborted.") ended = now;
        // The scan starts when the box closes, so the clock starts as it returns.
        if (text == "Are you sure?") {
            if (onConfirm) onConfirm();
            confirmed = Clock::now();
        }
        return platform::Answer::Ok;
    }
    QString openFileName(QWidget *, const QString &, const QStringList &) override { return picture; }
    void processEvents() override
    {
        const auto now = Clock::now();
        if (lastEvents != Clock::time_point()) longestGap = std::max(longestGap, now - lastEvents);
        QtPlatform::processEvents();
        lastEvents = Clock::now();
    }
    void quit(int) override {}

    QString picture;
    std::function<void()> onConfirm;
    Clock::time_point confirmed, ended, lastEvents;
    Clock::duration longestGap{};
};

QImage photo()
{
    QImage image(300, 300, QImage::Format_RGB32);
    uint32_t noise = 99;
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 300; ++x) {
            noise = noise * 1103515245 + 12345;
            const int n = int((noise >> 16) % 9) - 4;
            image.setPixel(x, y,
                           qRgb(std::clamp(int(128 + 100 * std::sin(x / 40.0)) + n, 0, 255),
                                std::clamp(int(128 + 90 * std::cos(y / 33.0)) + n, 0, 255),
                                std::clamp((x + y) * 255 / 598 + n, 0, 255)));
        }
    }
    return image;
}

// Resident memory now, from /proc (Linux), in MiB.
double residentMiB()
{
    long pages = 0, resident = 0;
    if (std::FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * double(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    BenchPlatform platform;
    platform.picture = dir.filePath("photo.bmp");
    photo().save(platform.picture);
    ui::quennet window(platform);
    window.show();
    ui::PictureFrame &picture = *window.findChild<ui::PictureFrame *>();
    ui::ConvertFrame &frame = *window.findChild<ui::ConvertFrame *>();
    auto *convertb = window.findChild<QPushButton *>("convertb");

    std::vector<double> convert, gaps;
    for (int run = 0; run < 15; ++run) {
        picture.loadpic_Click(); // the page is named from the picture again: photo1.htm, photo2.htm, ...
        platform.lastEvents = {};
        platform.longestGap = {};
        frame.convertb_Click();
        platform.longestGap = std::max(platform.longestGap, platform.ended - platform.lastEvents);
        convert.push_back(ms(platform.ended - platform.confirmed));
        gaps.push_back(ms(platform.longestGap));
    }

    // STOP: a whole scan takes less than the 10 ms between two rounds of events, so a click can
    // only land in the first round, after the first pixel. Post it as the window system would,
    // as "Are you sure?" is answered, and time it until "Convert aborted." is shown.
    std::vector<double> stops;
    platform.onConfirm = [&] {
        const QPointF at(10, 10);
        QCoreApplication::postEvent(
            convertb, new QMouseEvent(QEvent::MouseButtonPress, at, at, at, Qt::LeftButton, Qt::LeftButton, {}));
        QCoreApplication::postEvent(
            convertb, new QMouseEvent(QEvent::MouseButtonRelease, at, at, at, Qt::LeftButton, Qt::NoButton, {}));
    };
    for (int run = 0; run < 15; ++run) {
        picture.loadpic_Click();
        frame.convertb_Click();
        stops.push_back(ms(platform.ended - platform.confirmed));
    }

    // Endurance: 170 more conversions, every third stopped at once, memory read before and after.
    const double residentBefore = residentMiB();
    const std::function<void()> clickStop = platform.onConfirm;
    for (int run = 0; run < 170; ++run) {
        platform.onConfirm = run % 3 ? std::function<void()>() : clickStop;
        picture.loadpic_Click();
        frame.convertb_Click();
        QFile::remove(window.findChild<QLineEdit *>("convertfilename")->text()); // past 100 pages there is no free name
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);

    std::printf("window convert, OK to \"Convert Complete\": median %.1f ms, worst %.1f ms (15 runs)\n",
                median(convert), *std::max_element(convert.begin(), convert.end()));
    std::printf("longest stretch between two rounds of events: median %.1f ms, worst %.1f ms\n", median(gaps),
                *std::max_element(gaps.begin(), gaps.end()));
    std::printf("STOP clicked at the start to \"Convert aborted.\": median %.2f ms, worst %.2f ms (15 runs)\n",
                median(stops), *std::max_element(stops.begin(), stops.end()));
    std::printf("resident memory after 30 conversions %.1f MiB, after 200 %.1f MiB; peak %.1f MiB\n", residentBefore,
                residentMiB(), usage.ru_maxrss / 1024.0);
    return 0;
}
