#pragma once

#include "core/Analysis.h"
#include "core/LogReader.h"
#include "core/PullPower.h"
#include "core/Vehicle.h"

#include <QObject>
#include <QString>

#include <vector>

// A second log, read to be compared with the loaded one: any layout, any session, read by the
// same reader into a table of its own. It never touches the loaded log: the program's table,
// chart and statistics stay those of the first log. It holds the second log's analysis and the
// power of its pulls, computed with its own analysis options and vehicle.
class ComparisonLog : public QObject {
    Q_OBJECT
public:
    explicit ComparisonLog(QObject *parent = nullptr);

    // Reads session `session` (1-based) of the log at `path` and computes its analysis and the
    // power of its pulls. A log that cannot be read (or lacks the session) leaves everything as
    // it was and returns false with the reader's message in `error`.
    bool open(const QString &path, int session, QString &error);
    // Another session of the open log, as `open` reads one.
    bool openSession(int session, QString &error);
    // "Quitar comparación": drops the log (nothing happens when none is open).
    void clear();

    bool isOpen() const { return m_open; }
    const QString &path() const { return m_path; }
    // Its title as the main log's: the file name with every "." shown as a space.
    QString title() const;
    const LogFile &log() const { return m_log; } // the table, slot times and lines 5-7
    const std::vector<LogSession> &sessions() const { return m_log.sessions; }
    int session() const { return m_log.session; }
    const Analysis::Result &analysis() const { return m_analysis; }
    // One result per pull of analysis(), in its order.
    const std::vector<PullPower::Result> &power() const { return m_power; }

    // The options of its analysis (those of the first log's but for a pair picked by the user,
    // whose columns are the first log's) and the vehicle of its power; a change recomputes what
    // depends on it when a log is open.
    const Analysis::Options &options() const { return m_options; }
    void setOptions(const Analysis::Options &options);
    const Vehicle &vehicle() const { return m_vehicle; }
    void setVehicle(const Vehicle &vehicle);

signals:
    // A log was read or dropped, or its analysis or power was computed again.
    void changed();

private:
    void computeAnalysis();
    void computePower();

    bool m_open = false;
    QString m_path;
    LogFile m_log;
    Analysis::Options m_options;
    Vehicle m_vehicle;
    Analysis::Result m_analysis;
    std::vector<PullPower::Result> m_power;
};
