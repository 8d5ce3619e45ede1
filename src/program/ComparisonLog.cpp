#include "program/ComparisonLog.h"

#include "core/PowerOfPulls.h"

#include <QFileInfo>

ComparisonLog::ComparisonLog(QObject *parent) : QObject(parent) {}

bool ComparisonLog::open(const QString &path, int session, QString &error)
{
    LogReadResult read = LogReader::read(path, session);
    if (!read.ok) {
        error = read.error;
        return false;
    }
    m_open = true;
    m_path = path;
    m_log = std::move(read.log);
    computeAnalysis();
    computePower();
    emit changed();
    return true;
}

bool ComparisonLog::openSession(int session, QString &error)
{
    const QString path = m_path; // `open` replaces it
    return open(path, session, error);
}

void ComparisonLog::clear()
{
    if (!m_open)
        return;
    m_open = false;
    m_path.clear();
    m_log = LogFile();
    m_analysis = Analysis::Result();
    m_power.clear();
    emit changed();
}

QString ComparisonLog::title() const
{
    return QFileInfo(m_path).fileName().replace(QLatin1Char('.'), QLatin1Char(' '));
}

void ComparisonLog::setOptions(const Analysis::Options &options)
{
    m_options = options;
    if (!m_open)
        return;
    computeAnalysis();
    computePower();
    emit changed();
}

void ComparisonLog::setVehicle(const Vehicle &vehicle)
{
    m_vehicle = vehicle;
    if (!m_open)
        return;
    computePower();
    emit changed();
}

void ComparisonLog::computeAnalysis()
{
    m_analysis = Analysis::compute(m_log.table, m_log.slotTimes, m_log.columnLines,
                                   m_log.newerLayout, m_options);
}

void ComparisonLog::computePower()
{
    m_power = PowerOfPulls::compute(m_log.table, m_log.slotTimes, m_log.newerLayout, m_analysis,
                                    m_vehicle);
}
