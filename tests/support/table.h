// SPDX-License-Identifier: MIT
// A data table's columns declared in one call, with a function that adds a row of them and turns
// each value into its column's type.
#pragma once

#include <QtTest>

#include <array>

template <class... T> auto columns(const std::array<const char *, sizeof...(T)> &names)
{
    std::size_t i = 0;
    (QTest::addColumn<T>(names[i++]), ...);
    return [](const char *tag, const T &...values) { (QTest::newRow(tag) << ... << values); };
}
