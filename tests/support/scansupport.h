// SPDX-License-Identifier: MIT
// Small pixel grids and hosts for driving the scan without a window.
#pragma once

#include "engine/scan.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <vector>

// A picture given as rows of 0x00BBGGRR values, placed with its top-left pixel at (left, top).
class GridSource : public engine::PixelSource
{
public:
    GridSource(std::vector<std::vector<int32_t>> rows, int left = 0, int top = 0)
        : m_rows(std::move(rows)), m_left(left), m_top(top)
    {
    }
    int32_t pixel(int x, int y) override
    {
        visited.push_back({x, y});
        const int row = y - m_top;
        const int column = x - m_left;
        if (row < 0 || row >= int(m_rows.size()) || column < 0 || column >= int(m_rows[row].size())) return -1;
        return m_rows[row][column];
    }
    std::vector<std::pair<int, int>> visited;

private:
    std::vector<std::vector<int32_t>> m_rows;
    int m_left;
    int m_top;
};

// Counts event processing and runs an optional action there, as a STOP click would.
class ScriptedHost : public engine::ScanHost
{
public:
    void processEvents() override
    {
        ++calls;
        if (onEvents) onEvents(calls);
    }
    int calls = 0;
    std::function<void(int call)> onEvents;
};

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Settings for a small area with the message taken in order, so pages are predictable.
inline engine::ScanSettings smallScan(int width, int height, const std::string &message = "AB")
{
    engine::ScanSettings s;
    s.area = {0, 0, int16_t(width), int16_t(height)};
    s.pixelCount = width * height;
    s.message = message;
    s.randomOrder = false;
    s.twoCharsPerPixel = false;
    s.eventInterval = std::chrono::nanoseconds(0);
    return s;
}

inline QByteArray convertToPage(const engine::ScanSettings &settings, engine::PixelSource &pixels, const QString &path,
                                engine::ScanHost *host = nullptr)
{
    ScriptedHost quiet;
    engine::Conversion conversion(settings);
    conversion.startDocument(path.toStdString());
    conversion.Loopconvert(pixels, host ? *host : quiet);
    return readAll(path);
}
