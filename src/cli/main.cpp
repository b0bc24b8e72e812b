// SPDX-License-Identifier: MIT
// lumirune-convert: the window's conversion for many pictures at once, from the command line.
#include "cli/convertoptions.h"
#include "engine/failure.h"
#include "engine/outputname.h"
#include "engine/version.h"
#include "platform/picturefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <sys/stat.h>

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

// Converts one picture; returns false after reporting why it could not.
bool convert(const QString &picture, const cli::ConvertJob &job)
{
    QString reason;
    const QImage image = platform::readPicture(picture, &reason);
    if (image.isNull()) {
        report(picture, "not a readable picture (" + reason + ")");
        return false;
    }
    std::string output = QFile::encodeName(job.output).toStdString();
    if (output.empty()) {
        const auto free = engine::nextFreeOutputName(QFile::encodeName(picture).toStdString());
        if (!free) {
            report(picture, "no free page name: the names numbered 1 to 100 beside it are all taken");
            return false;
        }
        output = *free;
    }
    platform::ImagePixelSource pixels(platform::composeDrawingArea(image, Qt::white));
    engine::Conversion conversion(job.settings);
    NoEvents host;
    try {
        conversion.startDocument(output);
        conversion.Loopconvert(pixels, host);
    } catch (const engine::Failure &failure) {
        report(QFile::decodeName(output.c_str()), QString::fromLocal8Bit(failure.what()));
        // A half-written page is of no use to a batch; a device or a link named as the output stays.
        struct stat written;
        if (::lstat(output.c_str(), &written) == 0 && S_ISREG(written.st_mode)) std::remove(output.c_str());
        return false;
    }
    QTextStream(stdout) << QFile::decodeName(output.c_str()) << Qt::endl;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Past a file size limit a write then fails and is reported, instead of the signal ending the batch.
    std::signal(SIGXFSZ, SIG_IGN);
    QString error;
    const cli::ConvertJob job = cli::parseArguments(app.arguments(), &error);
    if (!error.isEmpty()) {
        report("error", error + "\nTry 'lumirune-convert --help'.");
        return 2;
    }
    if (job.helpRequested) {
        QTextStream(stdout) << cli::helpText();
        return 0;
    }
    if (job.versionRequested) {
        QTextStream(stdout) << "lumirune-convert " << engine::kVersion << Qt::endl;
        return 0;
    }
    bool allWritten = true;
    for (const QString &picture : job.pictures)
        allWritten = convert(picture, job) && allWritten;
    return allWritten ? 0 : 1;
}
