// SPDX-License-Identifier: MIT
#include "commandline.h"

#include "utf8text.h"

namespace cli {

namespace {

class LineReader
{
public:
    explicit LineReader(const std::vector<std::string> &arguments) : m_arguments(arguments) {}

    ParsedLine read()
    {
        bool onlyPictures = false;
        for (; m_at < m_arguments.size(); ++m_at) {
            const std::string &argument = m_arguments[m_at];
            if (onlyPictures || argument.empty() || argument[0] != '-' || argument == "-") {
                m_line.positional.push_back(argument);
            } else if (argument == "--") {
                onlyPictures = true;
            } else if (argument.compare(0, 2, "--") == 0) {
                const std::string name = argument.substr(2, argument.find('=', 2) - 2);
                if (!found(name) || !takeValue(name, argument)) m_failed = true;
            } else {
                readLetters(argument);
            }
            if (m_at == m_arguments.size()) break;
        }
        if (m_failed && m_line.error.empty()) tellUnknown();
        return m_line;
    }

private:
    bool found(const std::string &name)
    {
        if (const auto id = findOption(name)) {
            m_line.set[*id] = true;
            return true;
        }
        m_unknown.push_back(name);
        return false;
    }

    // The value of the option name, which argument gave: after its "=", else the next argument.
    bool takeValue(const std::string &name, const std::string &argument)
    {
        const auto id = findOption(name);
        if (!id) return true;
        const std::size_t assign = argument.find('=');
        if (!kOptions[*id].valueName.empty()) {
            if (assign != std::string::npos) {
                m_line.values[*id].push_back(argument.substr(assign + 1));
            } else if (++m_at == m_arguments.size()) {
                m_line.error = "Missing value after '" + argument + "'.";
                return false;
            } else {
                m_line.values[*id].push_back(m_arguments[m_at]);
            }
        } else if (assign != std::string::npos) {
            m_line.error = "Unexpected value after '" + argument.substr(0, assign) + "'.";
            return false;
        }
        return true;
    }

    // "-hV", "-j2", "-j=2": letters up to the first that takes a value, which takes the rest.
    void readLetters(const std::string &argument)
    {
        std::string name;
        bool valueFound = false;
        for (std::size_t at = 1; at < argument.size(); at += name.size()) {
            name = argument.substr(at, characterLength(argument, at));
            if (!found(name)) {
                m_failed = true;
                continue;
            }
            const std::size_t next = at + name.size();
            if (!kOptions[*findOption(name)].valueName.empty()) {
                if (next < argument.size()) {
                    const std::size_t from = argument[next] == '=' ? next + 1 : next;
                    m_line.values[*findOption(name)].push_back(argument.substr(from));
                    valueFound = true;
                }
                break;
            }
            if (next < argument.size() && argument[next] == '=') break;
        }
        if (!valueFound && !takeValue(name, argument)) m_failed = true;
    }

    void tellUnknown()
    {
        std::string &error = m_line.error;
        error = m_unknown.size() == 1 ? "Unknown option '" + m_unknown.front() + "'." : "Unknown options: ";
        for (std::size_t n = 0; m_unknown.size() > 1 && n < m_unknown.size(); ++n)
            error += m_unknown[n] + (n + 1 < m_unknown.size() ? ", " : ".");
    }

    const std::vector<std::string> &m_arguments;
    std::size_t m_at = 1;
    ParsedLine m_line;
    std::vector<std::string> m_unknown;
    bool m_failed = false;
};

} // namespace

ParsedLine parseLine(const std::vector<std::string> &arguments)
{
    return LineReader(arguments).read();
}

} // namespace cli
