#pragma once

#include "core/DataTable.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Helpers shared by the tests: writing small logs of the standard layout.
namespace TestSupport {

// The group marks of a diesel log (its statistics run at load) and of a petrol one.
inline const QList<QByteArray> Diesel = {"'003", "'011", "'020"};
inline const QList<QByteArray> Petrol = {"'002", "'115", "'020"};

// Every cell of every row, "|" between cells and one string per row.
inline QStringList cells(const DataTable &table)
{
    QStringList rows;
    for (int r = 1; r <= table.rowCount(); ++r) {
        QStringList row;
        for (int k = 0; k < table.cellCount(r); ++k)
            row << table.cell(r, k);
        rows << row.join(QLatin1Char('|'));
    }
    return rows;
}

// Writes `bytes` to `name` inside `dir` and returns the full path.
inline QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

// A log of the standard layout: header, ECU line, empty line, group line with `groups` (e.g.
// "'003", "'011"), the column-name line (fields 0 and 1 empty, then "Ck" naming column k, "TIME" at
// 6 and 11), a units line, a seventh line, then `dataLines` as given, every line ending in CR LF.
inline QByteArray standardLog(const QList<QByteArray> &groups, const QList<QByteArray> &dataLines,
                              const QByteArray &header = "Sunday,6,December,2026,13:51:20,KORVEX")
{
    QByteArray g = ",,Group A:";
    for (const QByteArray &mark : groups)
        g += "," + mark + ",,,";
    QByteArray out;
    out += header + "\r\n";
    out += "03L 906 018 JL,ADVMB,R4 2.0L EDC\r\n";
    out += "\r\n";
    out += g + "\r\n";
    out += ",,C1,C2,C3,C4,TIME,C6,C7,C8,C9,TIME,C11,C12,C13,C14\r\n";
    out += ",,/min,mg/H,mg/H,%,,/min,mbar,mbar,%,,a,b,c,d\r\n";
    out += "Marker,TIME,STAMP,STAMP,STAMP,STAMP,TIME,STAMP,STAMP,STAMP,STAMP,TIME,STAMP,STAMP,"
           "STAMP,STAMP\r\n";
    for (const QByteArray &line : dataLines)
        out += line + "\r\n";
    return out;
}

// A data line of a pull: engine speed (cell 1), EGR (4), the boost wanted and the boost reached,
// the MAP (7 and 8), N75 (9); cells 5 and 10 are times, the others filler.
inline QByteArray pullLine(const QByteArray &speed, const QByteArray &egr, const QByteArray &target,
                           const QByteArray &map, const QByteArray &n75 = "50")
{
    return ",0.1," + speed + ",290,280," + egr + ",0.2,900," + target + "," + map + "," + n75 +
           ",0.3,1,2,3,4";
}

} // namespace TestSupport
