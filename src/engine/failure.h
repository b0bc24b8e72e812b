// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace engine {

// The engine's own guarded procedures: a failure inside one names it in the report, ahead of the
// window's handler that called it.
enum class Operation {
    Unknown,
    Loopconvert,
    ConvertRGB,
};

// Error numbers carried by failures; they appear in the error report.
enum class ErrorNumber : int32_t {
    Overflow = 6,
    TypeMismatch = 13,
    InvalidCall = 5,
    DivisionByZero = 11,
    FileAccess = 75,
};

// A failure of a guarded operation: description, number and the component it arose in.
class Failure : public std::runtime_error
{
public:
    Failure(ErrorNumber number, std::string description, std::string source)
        : std::runtime_error(description), m_number(static_cast<int32_t>(number)), m_source(std::move(source))
    {
    }

    int32_t number() const { return m_number; }
    const std::string &source() const { return m_source; }
    Operation operation() const { return m_operation; }

    // The innermost guarded operation claims the failure; outer ones leave it as it is.
    void claim(Operation operation)
    {
        if (m_operation == Operation::Unknown) m_operation = operation;
    }

private:
    int32_t m_number;
    std::string m_source;
    Operation m_operation = Operation::Unknown;
};

} // namespace engine
