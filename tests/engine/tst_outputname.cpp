// SPDX-License-Identifier: MIT
#include "engine/failure.h"
#include "engine/outputname.h"

#include <QtTest>

#include <set>

class TestOutputName : public QObject
{
    Q_OBJECT

private slots:
    void numbering_data();
    void numbering();
    void allHundredTaken();
    void foldersDoNotCount();
    void shortNameFails();
};

void TestOutputName::numbering_data()
{
    QTest::addColumn<QString>("t");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("name");
    QTest::newRow("picture gives 1") << "/pics/cat.bmp" << QStringList{"/pics/cat.bmp"} << "/pics/cat1.htm";
    QTest::newRow("first free after 1 to 3")
        << "/pics/cat.bmp" << QStringList{"/pics/cat.bmp", "/pics/cat1.htm", "/pics/cat2.htm", "/pics/cat3.htm"}
        << "/pics/cat4.htm";
    QTest::newRow("a gap is reused") << "/pics/cat.bmp" << QStringList{"/pics/cat.bmp", "/pics/cat2.htm"}
                                     << "/pics/cat1.htm";
    QTest::newRow("four characters go whatever they are")
        << "/pics/cat.jpeg" << QStringList{"/pics/cat.jpeg"} << "/pics/cat.1.htm";
    QTest::newRow("second conversion numbers the page again")
        << "/pics/cat1.htm" << QStringList{"/pics/cat1.htm"} << "/pics/cat11.htm";
    QTest::newRow("no such file: used as it is") << "/pics/gone.bmp" << QStringList{} << "/pics/gone.bmp";
    QTest::newRow("characters, not bytes") << "/pics/kött.åäö" << QStringList{"/pics/kött.åäö"} << "/pics/kött1.htm";
}

void TestOutputName::numbering()
{
    QFETCH(QString, t);
    QFETCH(QStringList, existing);
    QFETCH(QString, name);
    std::set<std::string> files;
    for (const QString &path : existing)
        files.insert(path.toStdString());
    const auto free =
        engine::nextFreeOutputName(t.toStdString(), [&](const std::string &p) { return files.count(p) > 0; });
    QVERIFY(free);
    QCOMPARE(QString::fromStdString(*free), name);
}

void TestOutputName::allHundredTaken()
{
    QTemporaryDir dir;
    const QString picture = dir.filePath("cat.bmp");
    for (int n = 0; n <= 100; ++n) {
        QFile file(n == 0 ? picture : dir.filePath(QString("cat%1.htm").arg(n)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(!engine::nextFreeOutputName(picture.toStdString()));
    QFile::remove(dir.filePath("cat100.htm"));
    QCOMPARE(QString::fromStdString(*engine::nextFreeOutputName(picture.toStdString())), dir.filePath("cat100.htm"));
}

void TestOutputName::foldersDoNotCount()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("cat.bmp"));
    const std::string t = dir.filePath("cat.bmp").toStdString();
    QCOMPARE(*engine::nextFreeOutputName(t), t);
}

void TestOutputName::shortNameFails()
{
    QVERIFY_THROWS_EXCEPTION(engine::Failure,
                             engine::nextFreeOutputName("a.b", [](const std::string &) { return true; }));
}

QTEST_GUILESS_MAIN(TestOutputName)
#include "tst_outputname.moc"
