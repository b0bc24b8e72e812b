// SPDX-License-Identifier: MIT
// The converter's command-line syntax, read without running the converter.
#include "cli/commandline.h"

#include "support/table.h"

#include <QtTest>

class TestOptionSyntax : public QObject
{
    Q_OBJECT

private slots:
    // A line read as its options in table order, each with its values, then the pictures in
    // brackets; or the error alone.
    void lines_data()
    {
        const auto row = columns<QStringList, QString>({"arguments", "read"});
        row("--x=v", {"--seed=5", "a"}, "seed=5 [a]");
        row("--x v", {"--seed", "5", "a"}, "seed=5 [a]");
        row("letters combined", {"-hV"}, "help version []");
        row("a letter's value at once", {"-j2", "a"}, "jobs=2 [a]");
        row("a letter's value after =", {"-j=2", "a"}, "jobs=2 [a]");
        row("a value letter ends the letters", {"-hj2V"}, "jobs=2V help []");
        row("-- ends the options", {"--", "--seed", "-"}, "[--seed,-]");
        row("- is a picture", {"-", "a"}, "[-,a]");
        row("values that start with -", {"--seed", "-5", "-o", "-", "a"}, "output=- seed=-5 [a]");
        row("-o- writes to standard output", {"-o-", "a"}, "output=- [a]");
        row("repeated values kept in order", {"--replace", "1 > 2", "--replace=3 > 4"}, "replace=1 > 2,3 > 4 []");
        row("an empty value", {"--message=", "a"}, "message= [a]");
        row("missing value", {"a", "--seed"}, "Missing value after '--seed'.");
        row("missing value of a letter", {"-hj"}, "Missing value after '-hj'.");
        row("= on a switch", {"--fit=1"}, "Unexpected value after '--fit'.");
        row("= on a letter switch", {"-h=1"}, "Unexpected value after '-h'.");
        row("a value error outweighs unknown options", {"--colour", "--fit=1"}, "Unexpected value after '--fit'.");
        row("one unknown option", {"--colour", "x"}, "Unknown option 'colour'.");
        row("several unknown options", {"-xh", "--colour=red"}, "Unknown options: x, colour.");
        row("an unknown letter is a whole UTF-8 character", {"-\xc3\xa9"}, "Unknown option '\xc3\xa9'.");
    }

    void lines()
    {
        QFETCH(QStringList, arguments);
        std::vector<std::string> line{"lumirune-convert"};
        for (const QString &argument : arguments)
            line.push_back(argument.toStdString());
        const cli::ParsedLine parsed = cli::parseLine(line);
        QStringList read;
        for (int id = 0; id < cli::kOptionCount; ++id) {
            if (!parsed.set[id]) continue;
            QStringList values;
            for (const std::string &value : parsed.values[id])
                values << QString::fromStdString(value);
            const QString name = QString::fromLatin1(cli::kOptions[id].names.back());
            read << name + (values.isEmpty() ? "" : "=" + values.join(','));
        }
        QStringList pictures;
        for (const std::string &picture : parsed.positional)
            pictures << QString::fromStdString(picture);
        read << "[" + pictures.join(',') + "]";
        QTEST(parsed.error.empty() ? read.join(' ') : QString::fromStdString(parsed.error), "read");
    }
};

QTEST_GUILESS_MAIN(TestOptionSyntax)
#include "tst_optionsyntax.moc"
