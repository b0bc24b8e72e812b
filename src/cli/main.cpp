// SPDX-License-Identifier: MIT
// lumirune-convert: the window's conversion for many pictures at once, from the command line.
#include "cli/convertoptions.h"
#include "engine/failure.h"
#include "engine/pagefile.h"
#include "platform/picturefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <csignal>
#include <vector>

namespace {

class NoEvents : public engine::ScanHost
{
public:
    void processEvents() override {}
};

void report(const QString &subject, const QString &message)
{
    QTextStream(stderr) << "lumirune-convert: " << subject << ": " << message << Qt::endl;
}

// The command line as given. A name that is not valid text in the locale goes through the option
// parser as a stand-in and is opened by its bytes, so that every file can be named.
class Arguments
{
public:
    Arguments(int argc, char *argv[])
    {
        for (int i = 0; i < argc; ++i) {
            const QByteArray bytes(argv[i]);
            QString text = QFile::decodeName(bytes);
            if (QFile::encodeName(text) != bytes) {
                text = kStandIn + QString::number(m_raw.size());
                m_raw.push_back(bytes);
            }
            m_text << text;
        }
    }
    const QStringList &text() const { return m_text; }
    QByteArray bytes(const QString &argument) const
    {
        return argument.startsWith(kStandIn) ? m_raw.at(argument.mid(1).toUInt()) : QFile::encodeName(argument);
    }

private:
    static constexpr QChar kStandIn{0xFDD0}; // a noncharacter: never part of a real argument
    QStringList m_text;
    std::vector<QByteArray> m_raw;
};

// Converts one picture into output (empty: the numbered name beside it); returns false after
// reporting why it could not.
bool convert(const QByteArray &picture, const QByteArray &output, const cli::ConvertJob &job)
{
    const QString name = QFile::decodeName(picture);
    QString reason;
    const std::unique_ptr<QFile> file = platform::openPicture(picture, &reason);
    if (!file) {
        report(name, reason);
        return false;
    }
    bool incomplete = false;
    const QImage image = platform::readPicture(file.get(), &reason, &incomplete);
    if (image.isNull()) {
        report(name, "not a readable picture (" + reason + ")");
        return false;
    }
    if (incomplete) report(name, "damaged: converted what could be read");
    std::optional<engine::PageFile> page;
    try {
        page = output.isEmpty() ? engine::claimNextFreePage(picture.toStdString())
                                : engine::replacePage(output.toStdString());
    } catch (const engine::Failure &failure) {
        report(name, QString::fromLocal8Bit(failure.what()));
        return false;
    }
    if (!page) {
        report(name, "no free page name: the names numbered 1 to 100 beside it are all taken");
        return false;
    }
    platform::ImagePixelSource pixels(platform::composeDrawingArea(image));
    engine::Conversion conversion(job.settings);
    NoEvents host;
    try {
        conversion.startDocument(*page);
        conversion.Loopconvert(pixels, host);
    } catch (const engine::Failure &failure) {
        report(QFile::decodeName(page->path().c_str()), QString::fromLocal8Bit(failure.what()));
        // A half-written page is of no use to a batch; only one this run created is removed.
        engine::removeCreatedPage(*page);
        return false;
    }
    QTextStream(stdout) << QFile::decodeName(page->path().c_str()) << Qt::endl;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Past a file size limit a write then fails and is reported, instead of the signal ending the batch.
    std::signal(SIGXFSZ, SIG_IGN);
    const Arguments arguments(argc, argv);
    const cli::ConvertJob job = cli::parseArguments(arguments.text());
    if (!job.error.isEmpty()) {
        report("error", job.error + "\nTry 'lumirune-convert --help'.");
        return 2;
    }
    if (job.helpRequested) {
        QTextStream(stdout) << cli::helpText();
        return 0;
    }
    const QByteArray output = job.output.isEmpty() ? QByteArray() : arguments.bytes(job.output);
    for (const QString &picture : job.pictures) {
        if (!output.isEmpty() && engine::sameFile(output.toStdString(), arguments.bytes(picture).toStdString())) {
            report("error", "-o names the picture " + picture + ", which the page would overwrite");
            return 2;
        }
    }
    bool allWritten = true;
    for (const QString &picture : job.pictures)
        allWritten = convert(arguments.bytes(picture), output, job) && allWritten;
    return allWritten ? 0 : 1;
}
