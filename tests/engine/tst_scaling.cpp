// SPDX-License-Identifier: MIT
// Scaling a picture before it is converted: the size it gets, and the pixels.
#include "engine/scaling.h"

#include "support/budget.h"
#include "support/table.h"

#include <QtTest>

Q_DECLARE_METATYPE(engine::SizeRequest)

class TestScaling : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data()
    {
        // request: width, height, fit, terminal cells
        const auto row = columns<QSize, engine::SizeRequest, bool, QSize>({"picture", "request", "single", "expected"});
        row("width keeps a square square", {512, 512}, {150, 0}, false, {150, 150});
        row("one character a pixel halves the height", {512, 512}, {150, 0}, true, {150, 75});
        row("height of a wide picture", {400, 100}, {0, 50}, false, {200, 50});
        row("height with one character doubles the width", {400, 100}, {0, 50}, true, {400, 50});
        row("width of a tall picture rounds", {3, 10}, {2, 0}, false, {2, 7});
        row("both sides are exact", {512, 512}, {40, 10}, true, {40, 10});
        row("a derived side is at least 1", {2000, 1}, {10, 0}, false, {10, 1});
        row("a derived side stops at 2000", {1, 100}, {100, 0}, false, {100, 2000});
        row("fit shrinks a wide picture", {4000, 3000}, {0, 0, true}, false, {300, 225});
        row("fit shrinks a tall picture, whatever the characters", {300, 900}, {0, 0, true}, true, {100, 300});
        row("fit never enlarges", {120, 80}, {0, 0, true}, false, {120, 80});
        row("terminal: a photo as high as the rows", {640, 480}, {0, 0, false, {80, 23}}, false, {31, 23});
        row("terminal: one character a pixel halves the rows", {640, 480}, {0, 0, false, {100, 29}}, true, {77, 29});
        row("terminal: a panorama as wide as the columns", {2000, 100}, {0, 0, false, {80, 23}}, false, {40, 2});
        row("terminal: never enlarged", {20, 10}, {0, 0, false, {80, 23}}, false, {20, 10});
        row("terminal: one column is still a pixel", {50, 50}, {0, 0, false, {1, 1}}, false, {1, 1});
    }

    void sizes()
    {
        QFETCH(QSize, picture);
        QFETCH(engine::SizeRequest, request);
        QFETCH(bool, single);
        const engine::PixelSize got = engine::scaledSize({picture.width(), picture.height()}, request, !single);
        QTEST(QSize(got.width, got.height), "expected");
    }

    // One row of grey levels (the same in every channel) scaled along x, worked by hand.
    void pixels_data()
    {
        const auto row = columns<QList<int>, int, QList<int>>({"row", "width", "expected"});
        row("same size is the same pixels", {7, 200, 13}, 3, {7, 200, 13});
        row("halving averages pairs", {0, 100, 200, 50}, 2, {50, 125});
        row("two thirds weighs the middle pixel in halves", {0, 90, 180}, 2, {30, 150});
        row("to one pixel averages all", {10, 20, 30, 40, 50}, 1, {30});
        row("doubling interpolates between centres", {0, 100}, 4, {0, 25, 75, 100});
        row("enlarging one pixel repeats it", {77}, 3, {77, 77, 77});
    }

    void pixels()
    {
        QFETCH(QList<int>, row);
        QFETCH(int, width);
        std::vector<uint32_t> source;
        for (int v : row)
            source.push_back(uint32_t(v) * 0x01010101u);
        const engine::PixelGrid grid = engine::scalePixels({source.data(), int(source.size()), 1, 0}, {width, 1});
        QList<int> got;
        for (uint32_t p : grid.pixels) {
            QCOMPARE(p, (p & 0xFF) * 0x01010101u); // the channels stay apart
            got << int(p & 0xFF);
        }
        QTEST(got, "expected");
    }

    // 4000 x 3000 to 300 x 225 (13 1/3 old pixels to a new one): every channel of every new pixel
    // is the mean of the area it covers, which on a gradient is the gradient at the area's centre.
    void shrinkingAveragesEveryChannelOfALargePicture()
    {
        const int w = 4000, h = 3000;
        std::vector<uint32_t> source(std::size_t(w) * h);
        for (std::size_t i = 0; i < source.size(); ++i)
            source[i] = uint32_t(i % w * 255 / (w - 1)) | uint32_t(i / w * 255 / (h - 1)) << 8 | 0x40u << 16;
        const engine::PixelGrid grid = engine::scalePixels({source.data(), w, h, w}, {300, 225});
        QCOMPARE(grid.pixels.size(), std::size_t(300 * 225));
        for (int y : {0, 112, 224})
            for (int x : {0, 150, 299}) {
                const uint32_t p = grid.pixels[std::size_t(y) * 300 + x];
                const double red = ((x + 0.5) * w / 300 - 0.5) * 255 / (w - 1);
                const double green = ((y + 0.5) * h / 225 - 0.5) * 255 / (h - 1);
                QVERIFY2(qAbs(int(p & 0xFF) - red) <= 1 && qAbs(int(p >> 8 & 0xFF) - green) <= 1 && p >> 16 == 0x40u,
                         qPrintable(QString::asprintf("%d,%d: %06x", x, y, p)));
            }
    }

    // Pictures one pixel across and millions long, scaled to the largest size: the work follows the
    // pixels of the picture and of the result, and takes well under a second.
    void workFollowsThePixels_data()
    {
        const auto row = columns<QSize, QSize>({"from", "to"});
        row("tall to square", QSize(1, 4000000), QSize(2000, 2000));
        row("wide to square", QSize(4000000, 1), QSize(2000, 2000));
        row("tall to wide", QSize(2, 2000000), QSize(2000, 1));
        row("wide to tall", QSize(2000000, 2), QSize(1, 2000));
    }

    void workFollowsThePixels()
    {
        QFETCH(QSize, from);
        QFETCH(QSize, to);
        const std::vector<uint32_t> source(std::size_t(from.width()) * from.height(), 0x336699u);
        QElapsedTimer clock;
        clock.start();
        const engine::PixelGrid grid =
            engine::scalePixels({source.data(), from.width(), from.height(), from.width()}, {to.width(), to.height()});
        QVERIFY2(clock.elapsed() < kHangBudgetMs, qPrintable(QString::number(clock.elapsed()) + " ms"));
        QCOMPARE(grid.pixels.back(), 0x336699u);
    }
};

QTEST_GUILESS_MAIN(TestScaling)
#include "tst_scaling.moc"
