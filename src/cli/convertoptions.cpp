// SPDX-License-Identifier: MIT
#include "convertoptions.h"

#include "engine/colorcode.h"
#include "engine/document.h"
#include "engine/messagetext.h"
#include "engine/numbers.h"
#include "engine/replacements.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <algorithm>
#include <random>

namespace cli {

namespace {

const QCommandLineOption kOutput({"o", "output"}, "Write the page to FILE (one picture only); - is standard output.",
                                 "FILE");
const QCommandLineOption kFormat("format", "Page format: html (default), ansi (24-bit colour for terminals) or text.",
                                 "html|ansi|text");
const QCommandLineOption kJobs({"j", "jobs"}, "Convert N pictures at once (default: one per processor core).", "N");
const QCommandLineOption kWidth("width", "Scale the picture to W pixels wide (1 to 2000).", "W");
const QCommandLineOption kHeight("height", "Scale the picture to H pixels high (1 to 2000).", "H");
const QCommandLineOption kSize("size", "Scale the picture to exactly W x H pixels.", "WxH");
const QCommandLineOption kFit("fit", "Shrink a picture larger than the 300 x 300 box to fit it.");
const QCommandLineOption kArea("area", "Render area \"X1 Y1 X2 Y2\", X2 and Y2 exclusive.", "X1 Y1 X2 Y2");
const QCommandLineOption kQuality("quality", "Colour quality: 100, 90, ..., 10.", "Q");
const QCommandLineOption kFontSize("font-size", "HTML font size, 1 to 7.", "N");
const QCommandLineOption kBackground("background", "Page background: black or white.", "black|white");
const QCommandLineOption kNoPre("no-pre", "Do not wrap the page in <pre>.");
const QCommandLineOption kSingle("single", "One character per pixel (default two).");
const QCommandLineOption kSequential("sequential", "Take message characters in order (default at random).");
const QCommandLineOption kSeed("seed", "Seed for the random characters.", "N");
const QCommandLineOption kMessage("message", "Message characters (default \"01\").", "TEXT");
const QCommandLineOption kPreset("preset", "Message preset: Dec, Chr, \"Chr & Dec\", Hex, Oct or Bin.", "NAME");
const QCommandLineOption kReplace("replace", "Write colour A as colour B (0x00BBGGRR decimals); repeatable, in order.",
                                  "A > B");
const QCommandLineOption kHelp({"h", "help"}, "Show this help.");
const QCommandLineOption kVersion({"V", "version"}, "Show the version.");

struct OptionGroup
{
    const char *title;
    std::vector<const QCommandLineOption *> options;
};

const std::vector<OptionGroup> &optionGroups()
{
    static const std::vector<OptionGroup> groups{
        {"Input and output", {&kOutput, &kFormat, &kJobs, &kHelp, &kVersion}},
        {"Size", {&kWidth, &kHeight, &kSize, &kFit, &kArea}},
        {"Characters", {&kMessage, &kPreset, &kSingle, &kSequential, &kSeed}},
        {"Colours", {&kQuality, &kReplace}},
        {"Page", {&kBackground, &kFontSize, &kNoPre}},
    };
    return groups;
}

void configure(QCommandLineParser &p)
{
    for (const OptionGroup &group : optionGroups())
        for (const QCommandLineOption *option : group.options)
            p.addOption(*option);
}

// Four 16-bit whole numbers; where they may lie is the caller's check.
bool readArea(const QString &text, engine::RenderArea &area)
{
    const QStringList fields = text.simplified().split(' ');
    if (fields.size() != 4) return false;
    int16_t values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const int value = fields[i].toInt(&ok);
        if (!ok || value < INT16_MIN || value > INT16_MAX) return false;
        values[i] = static_cast<int16_t>(value);
    }
    area = {values[0], values[1], values[2], values[3]};
    return true;
}

bool readColor(const QString &text, int &color)
{
    bool ok = false;
    color = text.toInt(&ok);
    return ok && color >= 0 && color <= 0xFFFFFF;
}

// "A > B" with colours in decimal; spacing around ">" is forgiven, the entry is written exactly.
bool readReplacement(const QString &text, std::string &entry)
{
    static const QRegularExpression form(R"(^\s*(\d+)\s*>\s*(\d+)\s*$)");
    const QRegularExpressionMatch match = form.match(text);
    int from = 0;
    int to = 0;
    if (!match.hasMatch() || !readColor(match.captured(1), from) || !readColor(match.captured(2), to)) return false;
    entry = engine::replacementEntry(from, to);
    return true;
}

QString invalid(const QCommandLineOption &option, const QString &value, const QString &expected)
{
    return QString("invalid --%1 \"%2\": %3").arg(option.names().constLast(), value, expected);
}

// A whole number in decimal digits from 1 to most.
bool readCount(const QString &text, int most, int &value)
{
    static const QRegularExpression digits("^[0-9]{1,9}$");
    value = text.toInt();
    return digits.match(text).hasMatch() && value >= 1 && value <= most;
}

// Size, area, format and jobs.
bool readBatchOptions(const QCommandLineParser &p, ConvertJob &job)
{
    const QString side = QString("a whole number from 1 to %1").arg(engine::kMaxScaledSide);
    engine::SizeRequest &size = job.size;
    if (p.isSet(kWidth) && !readCount(p.value(kWidth), engine::kMaxScaledSide, size.width)) {
        job.error = invalid(kWidth, p.value(kWidth), side);
        return false;
    }
    if (p.isSet(kHeight) && !readCount(p.value(kHeight), engine::kMaxScaledSide, size.height)) {
        job.error = invalid(kHeight, p.value(kHeight), side);
        return false;
    }
    if (p.isSet(kSize)) {
        const QStringList sides = p.value(kSize).split(QRegularExpression("[xX]"));
        if (sides.size() != 2 || !readCount(sides[0], engine::kMaxScaledSide, size.width) ||
            !readCount(sides[1], engine::kMaxScaledSide, size.height)) {
            job.error = invalid(kSize, p.value(kSize), "WxH, each " + side);
            return false;
        }
    }
    size.fit = p.isSet(kFit);
    if (int(p.isSet(kSize)) + int(p.isSet(kWidth) || p.isSet(kHeight)) + int(size.fit) > 1) {
        job.error = "--size, --width/--height and --fit each set the size; give one";
        return false;
    }
    // Scaled, the area lies on the scaled picture: checked here when its size is known already,
    // else for each picture.
    job.areaGiven = p.isSet(kArea);
    engine::RenderArea &area = job.settings.area;
    const bool exact = size.width > 0 && size.height > 0;
    const engine::PixelSize bounds = exact ? engine::PixelSize{size.width, size.height}
                                     : size.any()
                                         ? engine::PixelSize{engine::kMaxScaledSide, engine::kMaxScaledSide}
                                         : engine::PixelSize{engine::kDrawingAreaSize, engine::kDrawingAreaSize};
    if (job.areaGiven && (!readArea(p.value(kArea), area) || !engine::areaWithin(area, bounds))) {
        job.error = invalid(kArea, p.value(kArea),
                            QString("four whole numbers with 0 <= X1 < X2 <= %1 and 0 <= Y1 < Y2 <= %2")
                                .arg(bounds.width)
                                .arg(bounds.height));
        return false;
    }
    if (exact && !job.areaGiven) area = {0, 0, int16_t(size.width), int16_t(size.height)};
    job.settings.pixelCount = area.pixelCount();
    if (p.isSet(kFormat)) {
        static const QStringList formats{"html", "ansi", "text"};
        const int format = formats.indexOf(p.value(kFormat));
        if (format < 0) {
            job.error = invalid(kFormat, p.value(kFormat), "html, ansi or text");
            return false;
        }
        job.settings.page.format = engine::PageFormat(format);
    }
    if (p.isSet(kJobs) && !readCount(p.value(kJobs), kMostJobs, job.jobs)) {
        job.error = invalid(kJobs, p.value(kJobs), QString("a whole number from 1 to %1").arg(kMostJobs));
        return false;
    }
    return true;
}

} // namespace

QString helpText()
{
    const auto names = [](const QCommandLineOption &option) {
        QStringList dashed;
        for (const QString &name : option.names())
            dashed << (name.size() == 1 ? "-" : "--") + name;
        QString text = dashed.join(", ");
        if (!option.valueName().isEmpty()) text += " <" + option.valueName() + ">";
        return text;
    };
    QString text = "Usage: lumirune-convert [options] PICTURE...\n"
                   "Turns pictures into web pages drawn in coloured text. Each page is written beside\n"
                   "its picture (cat.bmp gives cat1.htm); a picture named - is read from standard input\n"
                   "and its page written to standard output.\n";
    for (const OptionGroup &group : optionGroups()) {
        text += QString("\n%1:\n").arg(group.title);
        for (const QCommandLineOption *option : group.options)
            text += QString("  %1 %2\n").arg(names(*option), -27).arg(option->description());
    }
    text += "\nExamples:\n"
            "  lumirune-convert -j 2 *.jpg                  pages beside the pictures, two at a time\n"
            "  lumirune-convert --width 80 --single --format ansi -o - cat.jpg\n"
            "                                               a preview in the terminal\n"
            "  lumirune-convert --fit --quality 50 - < photo.jpg > photo.htm\n";
    return text;
}

ConvertJob parseArguments(const QStringList &arguments)
{
    ConvertJob job;
    QCommandLineParser p;
    configure(p);
    if (!p.parse(arguments)) {
        job.error = p.errorText();
        return job;
    }
    if (p.isSet(kHelp)) {
        job.helpRequested = true;
        return job;
    }
    if (p.isSet(kVersion)) {
        job.versionRequested = true;
        return job;
    }
    engine::ScanSettings &s = job.settings;
    job.pictures = p.positionalArguments();
    if (job.pictures.isEmpty()) {
        job.error = "no picture given";
        return job;
    }
    if (job.pictures.count("-") > 1) {
        job.error = "standard input (-) can be read only once";
        return job;
    }
    if (p.isSet(kOutput)) {
        job.output = p.value(kOutput);
        if (job.output.isEmpty()) {
            job.error = invalid(kOutput, "", "the file name is empty");
            return job;
        }
        if (job.pictures.size() > 1) {
            job.error = "-o names one page, but more than one picture was given";
            return job;
        }
    }
    if (!readBatchOptions(p, job)) return job;
    if (p.isSet(kQuality)) {
        const std::string quality = p.value(kQuality).toStdString();
        if (std::find(engine::kQualities.begin(), engine::kQualities.end(), quality) == engine::kQualities.end()) {
            QStringList qualities;
            for (std::string_view q : engine::kQualities)
                qualities << QString::fromLatin1(q.data(), qsizetype(q.size()));
            job.error = invalid(kQuality, p.value(kQuality), "one of " + qualities.join(", "));
            return job;
        }
        s.quality = p.value(kQuality).toInt();
    }
    if (p.isSet(kFontSize)) {
        const std::string size = p.value(kFontSize).toStdString();
        if (std::find(engine::kFontSizes.begin(), engine::kFontSizes.end(), size) == engine::kFontSizes.end()) {
            job.error = invalid(kFontSize, p.value(kFontSize), "a whole number from 1 to 7");
            return job;
        }
        s.page.fontSize = p.value(kFontSize).toStdString();
    }
    if (p.isSet(kBackground)) {
        const QString background = p.value(kBackground).toLower();
        if (background != "black" && background != "white") {
            job.error = invalid(kBackground, p.value(kBackground), "black or white");
            return job;
        }
        s.page.blackBackground = background == "black";
    }
    s.page.insertPre = !p.isSet(kNoPre);
    s.twoCharsPerPixel = !p.isSet(kSingle);
    s.randomOrder = !p.isSet(kSequential);
    if (p.isSet(kSeed)) {
        bool ok = false;
        s.seed = p.value(kSeed).toUInt(&ok);
        static const QRegularExpression digits("\\A[0-9]+\\z"); // toUInt() forgives spaces around
        if (!ok || !digits.match(p.value(kSeed)).hasMatch()) {
            job.error = invalid(kSeed, p.value(kSeed), "a whole number from 0 to 4294967295");
            return job;
        }
    } else {
        s.seed = std::random_device()();
    }
    if (p.isSet(kMessage) && p.isSet(kPreset)) {
        job.error = "--message and --preset both set the message; give one";
        return job;
    }
    if (p.isSet(kPreset)) {
        const auto text = engine::presetMessage(p.value(kPreset).toStdString());
        if (!text || text->empty()) {
            job.error = invalid(kPreset, p.value(kPreset), "one of Dec, Chr, \"Chr & Dec\", Hex, Oct, Bin");
            return job;
        }
        s.message = std::string(*text);
    }
    if (p.isSet(kMessage)) {
        const std::u32string message = p.value(kMessage).toStdU32String();
        if (message.empty()) {
            job.error = invalid(kMessage, "", "the message is empty");
            return job;
        }
        if (const auto bad = engine::firstDisallowedChar(message)) {
            job.error = invalid(kMessage, p.value(kMessage),
                                QString("'%1' is not allowed; allowed: %2")
                                    .arg(QString::fromStdU32String(message.substr(*bad, 1)),
                                         QString::fromStdU32String(std::u32string(engine::kAllowedMessageChars))));
            return job;
        }
        s.message = engine::toAnsi(message);
    }
    for (const QString &value : p.values(kReplace)) {
        std::string entry;
        if (!readReplacement(value, entry)) {
            job.error = invalid(kReplace, value, "\"A > B\" with A and B colours from 0 to 16777215");
            return job;
        }
        s.replacements.push_back(entry);
    }
    // A batch has no window to keep alive, so events are never processed.
    s.eventInterval = std::chrono::hours(24);
    return job;
}

} // namespace cli
