#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QFile>

// Helpers shared by the tests: writing small logs of the standard layout.
namespace TestSupport {

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
// "'003", "'011"), the column-name line (fields 0 and 1 empty, then "Ck" naming column k, "TIME" at 6
// and 11), a units line, a seventh line, then `dataLines` as given, every line ending in CR LF.
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
    out += "Marker,TIME,STAMP,STAMP,STAMP,STAMP,TIME,STAMP,STAMP,STAMP,STAMP,TIME,STAMP,STAMP,STAMP,STAMP\r\n";
    for (const QByteArray &line : dataLines)
        out += line + "\r\n";
    return out;
}

} // namespace TestSupport
