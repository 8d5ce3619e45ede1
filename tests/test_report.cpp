// The headless report: its keys, their order and values, --cells, --power, --analysis with the
// power of every pull, --vehicle, --compare, and its exit codes.
#include "TestSupport.h"

#include "core/Analysis.h"
#include "core/JsonWriter.h"
#include "core/NumberRules.h"
#include "core/PullPower.h"
#include "program/AnalysisReport.h"
#include "program/AppState.h"
#include "program/Report.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

using TestSupport::example;

const QList<QByteArray> Pull = {TestSupport::pullLine("900", "30", "1000", "1000", "40"),
                                TestSupport::pullLine("2500", "0", "2400", "2450", "75")};

// What `write` prints to a stream, as text.
template <typename Write> QByteArray printed(Write write)
{
    char *bytes = nullptr;
    size_t size = 0;
    FILE *out = open_memstream(&bytes, &size);
    write(out);
    std::fclose(out);
    const QByteArray text(bytes, qsizetype(size));
    std::free(bytes);
    return text;
}

// Runs the report in-process on `log` with `options` and returns its JSON text.
QByteArray report(const QByteArray &log, const QStringList &options = {})
{
    QTemporaryDir dir;
    const QString path = TestSupport::writeFile(dir, "run.01.csv", log);
    Report::Options parsed;
    QString error;
    AppState state;
    if (!Report::parseArguments(QStringList{"--report"} + options + QStringList{path}, parsed,
                                error) ||
        !Report::load(state, parsed, error))
        return error.toUtf8();
    return printed([&](FILE *out) { Report::write(state, parsed, out); });
}

QJsonObject reportOf(const QByteArray &log, const QStringList &options)
{
    return QJsonDocument::fromJson(report(log, options)).object();
}

// The "analysis" key (or `key`) of `result` as the report writes it, inside braces.
QByteArray analysisJson(const Analysis::Result &result,
                        const std::vector<PullPower::Result> &power = {},
                        const char *key = "analysis")
{
    return printed([&](FILE *out) {
        JsonWriter json(out);
        json.beginObject();
        AnalysisReport::write(json, result, power, key);
        json.endObject();
    });
}

// The JSON of one key of a report, written again compactly (so that two values compare as text).
QByteArray valueOf(const QJsonObject &json, const char *key)
{
    return QJsonDocument(json[QLatin1String(key)].toObject()).toJson(QJsonDocument::Compact);
}

// Where each key starts in a report's text, -1 when it has none.
qsizetype at(const QByteArray &text, const char *key)
{
    return text.indexOf("\"" + QByteArray(key) + "\":");
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    // Every key in its place, --cells and --power last, and their values.
    void keysAndTheirValues()
    {
        const QByteArray text =
            report(TestSupport::standardLog({"'003", "'011", "'120"},
                                            {",0.1,3000,9,250.5", ",0.2,1e999,9,1e999"}),
                   {"--cells", "--power", "1,2,3"});
        const QJsonObject json = QJsonDocument::fromJson(text).object();
        QCOMPARE(json.keys().size(), 13);
        // In the order the README and the manual page list them (a nested key of the same name
        // comes after the key's own place).
        qsizetype last = -1;
        for (const char *key : {"caption", "title", "header", "groups", "engine", "columns",
                                "boxes", "series", "rows", "sessions", "stats", "cells", "power"}) {
            QVERIFY2(at(text, key) > last, key);
            last = at(text, key);
        }
        QCOMPARE(json["caption"].toString(), QStringLiteral("Ondalyx  v1 -  run 01 csv"));
        QCOMPARE(json["title"].toString(), QStringLiteral("run 01 csv"));
        QCOMPARE(valueOf(json, "groups"),
                 QByteArray(R"({"002":false,"003":true,"011":true,"115":false,"120":true})"));
        const QJsonObject time = json["columns"].toArray()[5].toObject();
        QVERIFY(time["header"].toString() == "Tiempo" && time["hidden"].toBool());
        QCOMPARE(json["boxes"].toArray().size(), 12);
        QCOMPARE(json["boxes"].toArray()[0].toObject()["index"].toInt(), 1);
        // The keys before "power" describe the state before the power steps.
        QCOMPARE(json["series"].toArray()[3].toObject()["label"].toString(), QStringLiteral("C8"));
        QCOMPARE(json["rows"].toInt(), 2);
        QCOMPARE(json["cells"].toArray()[0].toArray()[3].toString(), QStringLiteral("250,5"));
        const QJsonObject power = json["power"].toObject();
        QVERIFY(power["message"].isNull());
        QCOMPARE(power["labels"].toArray()[0].toString(), QStringLiteral("3000"));
        QCOMPARE(power["torque"].toArray()[0].toDouble(), 184.869);
        QVERIFY(power["power"].toArray()[1].isNull()); // not finite: written as null

        // Regression: a ticked box without a column (its own message) used to blank the curve.
        const QJsonObject narrow = reportOf("H\r\nl2\r\nl3\r\n,'120\r\n,,RPM,B\r\nl6\r\nl7\r\n"
                                            ",0.1,3000,9,1,2,3,4,5,6,250.5\r\n",
                                            {"--power", "1,2,9"})["power"]
                                       .toObject();
        QVERIFY(narrow["message"].isNull());
        QCOMPARE(narrow["torque"].toArray()[0].toDouble(), 184.869);
    }

    // The diesel figures and the default series follow groups 003 and 011 (002 and 115) wherever
    // line 4 (or the newer layout's slots) puts them. Cell k of row r holds 100 k + r, so a
    // figure names the cells it read: the peak MAP of row 3 and its engine speed, the N75.
    void groupsWhereTheyStand_data()
    {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QList<int>>("series");
        QTest::addColumn<QString>("figures"); // LbMaxPico | LbMaxN75; empty when not Diesel
        QByteArrayList rows;
        for (int r = 1; r <= 3; ++r) {
            QByteArray line = ",0." + QByteArray::number(r);
            for (int k = 1; k <= 14; ++k)
                line += "," + QByteArray::number(100 * k + r);
            rows << line;
        }
        const auto classic = [&rows](const QByteArray &groupLine) {
            QByteArray log = TestSupport::standardLog({}, rows);
            const qsizetype line4 = log.indexOf("\r\n\r\n") + 4;
            return log.replace(line4, log.indexOf("\r\n", line4) - line4, groupLine);
        };
        const auto diesel = [](int speed, int map, int n75) {
            return QStringLiteral("Pico Max MAP: %1 Bar a las %2 RPM|Valor Maximo N75: %3 a las %2 "
                                  "RPM")
                .arg(QString::fromStdString(NumberRules::FormatGrouped(100.0 * map + 3)))
                .arg(100 * speed + 3)
                .arg(100 * n75 + 3);
        };
        QTest::newRow("marks one field later, as in the samples: 003 as A, 011 as B")
            << classic(",,Group A:,'003,,,,Group B:,'011,,,,Group C:,'013,,,") << "Diesel"
            << QList<int>{2, 3, 7, 8} << diesel(1, 8, 9);
        QTest::newRow("as the tool writes it, 011 as group C")
            << classic(",Group A:,'003,,,,Group B:,'001,,,,Group C:,'011") << "Diesel"
            << QList<int>{2, 3, 12, 13} << diesel(1, 13, 14);
        QTest::newRow("003 as group C, group A empty")
            << classic(",,Group A:,,,,,Group B:,'011,,,,Group C:,'003,,,") << "Diesel"
            << QList<int>{12, 13, 7, 8} << diesel(11, 8, 9);
        QTest::newRow("011 outside the group fields: as A and B")
            << classic(",,Group A:,'003,,,,Group B:,,,,,Group C:,,,,,'011") << "Diesel"
            << QList<int>{2, 3, 7, 8} << diesel(1, 8, 9);
        QTest::newRow("002 and 115 swapped")
            << classic(",,Group A:,'115,,,,Group B:,'002,,,,Group C:,'031,,,") << "Gasolina"
            << QList<int>{7, 9, 4, 3} << QString("|");
        QByteArray newer = "Sunday,6,December,2026,13:51:20,KORVEX\r\nECU\r\n,,";
        for (const char *group : {"G003", "G001", "G011"})
            for (int f = 0; f < 4; ++f)
                newer += QByteArray(group) + ",F" + QByteArray::number(f) + ",";
        newer += "\r\n\r\nMarker\r\n";
        for (int slot = 1; slot <= 12; ++slot)
            newer += ",STAMP,n" + QByteArray::number(slot);
        newer += "\r\n\r\n";
        for (int r = 1; r <= 3; ++r) {
            // The slots stand in the table columns that are not times: cell k again 100 k + r.
            for (int k = 1; k <= 14; ++k)
                if (k % 5 != 0)
                    newer += ",0." + QByteArray::number(r) + "," + QByteArray::number(100 * k + r);
            newer += ",\r\n";
        }
        QTest::newRow("newer layout, 011 in slots 9-12")
            << newer << "Diesel" << QList<int>{2, 3, 12, 13} << diesel(1, 13, 14);
    }
    void groupsWhereTheyStand()
    {
        QFETCH(QByteArray, log);
        QFETCH(QString, engine);
        QFETCH(QList<int>, series);
        QFETCH(QString, figures);
        const QJsonObject json = reportOf(log, {});
        QCOMPARE(json["engine"].toString(), engine);
        QList<int> boxes;
        for (const QJsonValue &s : json["series"].toArray())
            boxes << s.toObject()["box"].toInt();
        QCOMPARE(boxes, series);
        const QJsonObject stats = json["stats"].toObject();
        QCOMPARE(stats["LbMaxPico"].toString() + '|' + stats["LbMaxN75"].toString(), figures);
    }

    // The "analysis" key: its keys in order, plain numbers, null for none, left_out's seven keys.
    void analysisKey()
    {
        Analysis::Result result;
        result.units = {"", "/min", "mbar"};
        result.rpmColumn = 1;
        result.rate = 1.42;
        result.pulls = {{40, 47, 1850, 4210, 6.4, 1.1}};
        result.leftOutCount = {12, 40, 1, 310, 0, 9, 3};
        result.onlyPulls = true;
        SpecifiedActual::Pair pair;
        pair.specified = 8;
        pair.actual = 9;
        pair.unit = "mbar";
        pair.bins = {{1750, 3, 1510.0, 1466.7, -43.3, -60.0}};
        result.pairs = {pair};
        QCOMPARE(analysisJson(result),
                 QByteArray(
                     R"({"analysis":{"rpm_column":1,"rate":1.42,"units":["","/min","mbar"],)"
                     R"("pulls":[{"first":40,"last":47,"rows":8,"rpm_from":1850,"rpm_to":4210,)"
                     R"("seconds":6.4}],"left_out":{"sin régimen":12,"régimen bajo":40,"pausa":1,)"
                     R"("régimen sin subir":310,"pedal":0,"corto":9,"poco régimen":3},"pairs":[)"
                     R"({"specified":8,"actual":9,"unit":"mbar","only_pulls":true,"bins":[{"rpm":)"
                     R"(1750,"rows":3,"specified":1510,"actual":1466.7,"difference":-43.3,)"
                     R"("worst":-60}]}]}})"));

        // The power of each pull, after "seconds": a curve, and a pull without one.
        result = Analysis::Result();
        result.pulls = {{40, 41, 1850, 4210, 2.5, 0.4}, {50, 53, 2000, 1500, 0, 0}};
        PullPower::Result curve;
        curve.outcome = PullPower::Result::Curve;
        curve.degree = 3;
        curve.rate = 0.4;
        curve.points = {{40, 1903.25, 61.5, 229.75}, {41, 4000, 150, 267.5}};
        curve.peakCv = {{150, 4000}};
        curve.peakNm = {{267.5, 4000}};
        PullPower::Result none;
        none.outcome = PullPower::Result::NotRising;
        none.degree = 2;
        const QByteArray text = analysisJson(result, {curve, none}, "compare");
        QCOMPARE(
            text.left(text.indexOf(R"("left_out")")),
            QByteArray(
                R"({"compare":{"rpm_column":null,"rate":null,"units":[],"pulls":[{"first":40,)"
                R"("last":41,"rows":2,"rpm_from":1850,"rpm_to":4210,"seconds":2.5,"power":)"
                R"({"degree":3,"rate":0.4,"points":[{"row":40,"rpm":1903.25,"cv":61.5,"nm":)"
                R"(229.75},{"row":41,"rpm":4000,"cv":150,"nm":267.5}],"peak_cv":[150,4000],)"
                R"("peak_nm":[267.5,4000],"warnings":["Pocas muestras por segundo: las )"
                R"(curvas son orientativas."]}},{"first":50,"last":53,"rows":4,"rpm_from":)"
                R"(2000,"rpm_to":1500,"seconds":0,"power":{"degree":2,"rate":null,)"
                R"("points":[],"peak_cv":null,"peak_nm":null,"warnings":["El régimen )"
                R"(ajustado no sube en todo el tirón","Ajuste de grado 2: pocas filas"]}}],)"));
    }

    // --compare: the analysis of the other log (its first session or --compare-session N) with
    // the same vehicle and rows for the bins, after "analysis". The vehicle reaches the power of
    // every pull.
    void compareKey()
    {
        const QByteArray diesel = TestSupport::readAll(example("diesel.csv"));
        const QString vehicle = "1400,2900,0.3,2.2,0.014,12,1.21";
        const QJsonObject alone =
            reportOf(TestSupport::readAll(example("pulls.csv")),
                     {"--analysis", "--analysis-all-rows", "--vehicle", vehicle});
        const QByteArray text = report(diesel, {"--cells", "--compare", example("pulls.csv"),
                                                "--analysis-all-rows", "--vehicle", vehicle});
        const QJsonObject json = QJsonDocument::fromJson(text).object();
        QCOMPARE(valueOf(json, "compare"), valueOf(alone, "analysis"));
        const QJsonObject lighter = reportOf(TestSupport::readAll(example("pulls.csv")),
                                             {"--analysis", "--analysis-all-rows"});
        QVERIFY(valueOf(lighter, "analysis") != valueOf(alone, "analysis"));
        QCOMPARE(json["title"].toString(), QStringLiteral("run 01 csv")); // the main log's
        QVERIFY(at(text, "stats") < at(text, "analysis") &&
                at(text, "analysis") < at(text, "compare") &&
                at(text, "compare") < at(text, "cells"));

        const QJsonObject second =
            reportOf(diesel, {"--compare", example("sessions.csv"), "--compare-session", "2"});
        const QJsonObject ownSecond = reportOf(TestSupport::readAll(example("sessions.csv")),
                                               {"--analysis", "--session", "2"});
        QCOMPARE(valueOf(second, "compare"), valueOf(ownSecond, "analysis"));
        QVERIFY(valueOf(second, "compare") !=
                valueOf(reportOf(diesel, {"--compare", example("sessions.csv")}), "compare"));
    }

    // Wrong values of --compare-session: one line naming what is wrong, no report (what --vehicle
    // refuses is the vehicle tests' business, its exit code below).
    void badArguments_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("error");
        QTest::newRow("--compare-session 0")
            << QStringList{"--compare", "b.csv", "--compare-session", "0"}
            << "--compare-session espera el número de una sesión del registro que se compara, "
               "desde 1";
        QTest::newRow("--compare-session without --compare")
            << QStringList{"--compare-session", "2"} << "--compare-session necesita --compare";
    }
    void badArguments()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, error);
        Report::Options parsed;
        QString message;
        QVERIFY(!Report::parseArguments(QStringList{"--report"} + options + QStringList{"a.csv"},
                                        parsed, message));
        QCOMPARE(message, error);
    }

    void programExitCodes()
    {
        const QString binary = qEnvironmentVariable("ONDALYX_BINARY");
        if (binary.isEmpty() || !QFile::exists(binary))
            QSKIP("the program is not built");
        QTemporaryDir dir;
        QByteArray out, err;
        const auto run = [&](const QStringList &args) {
            QProcess process;
            process.start(binary, QStringList{"--report"} + args);
            process.waitForFinished(30000);
            out = process.readAllStandardOutput();
            err = process.readAllStandardError();
            return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        };
        QCOMPARE(run({dir.filePath("missing.csv")}), 2);
        QCOMPARE(err.count('\n'), 1);
        QVERIFY(err.contains("missing.csv"));
        QVERIFY(out.isEmpty());

        const QByteArray log = TestSupport::standardLog({"'003", "'011"}, Pull);
        const QString logPath = TestSupport::writeFile(dir, "d.csv", log);
        const QString png = dir.filePath("chart.png");
        QCOMPARE(run({"--chart", png, logPath}), 0);
        QCOMPARE(QJsonDocument::fromJson(out)["engine"].toString(), QStringLiteral("Diesel"));
        QCOMPARE(QImage(png).size(), QSize(769, 481)); // the main chart's size in the window

        // Another session of the file, and one the file does not have.
        const QString two = TestSupport::writeFile(
            dir, "two.csv",
            log + TestSupport::standardLog({"'002"}, {",1,2"}, "Mo,1,x,2026,1:2:3"));
        QCOMPARE(run({"--session", "2", two}), 0);
        const QJsonObject second = QJsonDocument::fromJson(out).object();
        QCOMPARE(second["header"].toString(), QStringLiteral("Mo,1,x,2026,1:2:3"));
        QCOMPARE(run({"--session", "3", two}), 2); // as a log that cannot be read
        QCOMPARE(err.count('\n'), 1);
        QVERIFY(err.contains("two.csv"));

        // A wrong --vehicle, and a log to compare with that cannot be read or lacks the session.
        QCOMPARE(run({"--vehicle", "1500,2800,0.31,2.1,0.015,100,1.2", logPath}), 2);
        QCOMPARE(err.count('\n'), 1);
        QVERIFY(err.contains("pérdidas de transmisión") && out.isEmpty());
        QCOMPARE(run({"--compare", two, "--compare-session", "3", logPath}), 2);
        QCOMPARE(err.count('\n'), 1);
        QVERIFY(err.contains("two.csv") && out.isEmpty());

        // A chart that cannot be written fails the run with a message naming it.
        QCOMPARE(run({"--chart", dir.filePath("no/such/dir/c.png"), logPath}), 1);
        QVERIFY(err.contains("c.png"));
    }
};

QTEST_APPLESS_MAIN(TestReport)
#include "test_report.moc"
