#include "core/AnalysisTexts.h"

#include "core/DataTable.h"
#include "core/NumberRules.h"
#include "core/UnitsAndNames.h"

#include <algorithm>
#include <cmath>

namespace AnalysisTexts {

namespace {

// A whole number grouped by ".", "0" when it comes to zero.
QString grouped(double value)
{
    const std::string text = NumberRules::FormatGrouped(value);
    return text.empty() && std::isfinite(value) ? QStringLiteral("0")
                                                : QString::fromStdString(text);
}

// One decimal after a ",", never "-0,0".
QString oneDecimal(double value)
{
    return figure(value, 1);
}

} // namespace

const char *reasonKey(Pulls::Reason reason)
{
    switch (reason) {
    case Pulls::Reason::NoSpeed:
        return "sin régimen";
    case Pulls::Reason::LowSpeed:
        return "régimen bajo";
    case Pulls::Reason::Pause:
        return "pausa";
    case Pulls::Reason::NotClimbing:
        return "régimen sin subir";
    case Pulls::Reason::Pedal:
        return "pedal";
    case Pulls::Reason::Short:
        return "corto";
    case Pulls::Reason::SmallSpan:
        return "poco régimen";
    }
    return "";
}

QString reason(Pulls::Reason reason, double amount)
{
    switch (reason) {
    case Pulls::Reason::Pause:
        return QStringLiteral("pausa de %1 s").arg(oneDecimal(amount));
    case Pulls::Reason::Pedal:
        return QStringLiteral("pedal por debajo del 80 %");
    case Pulls::Reason::Short:
        return QStringLiteral("tirón demasiado corto (%1 filas)").arg(grouped(amount));
    case Pulls::Reason::SmallSpan:
        return QStringLiteral("tirón de solo %1 rpm").arg(grouped(amount));
    case Pulls::Reason::NoSpeed:
    case Pulls::Reason::LowSpeed:
    case Pulls::Reason::NotClimbing:
        break;
    }
    return QString::fromUtf8(reasonKey(reason));
}

QString pull(int number, double rpmFrom, double rpmTo, double seconds, int rows)
{
    return QStringLiteral("Tirón %1: %2-%3 rpm, %4 s, %5 filas")
        .arg(number)
        .arg(grouped(rpmFrom), grouped(rpmTo), oneDecimal(seconds))
        .arg(rows);
}

QString rate(double samplesPerSecond)
{
    if (!std::isfinite(samplesPerSecond))
        return QString();
    return QStringLiteral("%1 muestras por segundo").arg(oneDecimal(samplesPerSecond));
}

QString fewSamples()
{
    return QStringLiteral("Pocas muestras por segundo: las curvas son orientativas.");
}

QString noEngineSpeed()
{
    return QStringLiteral("El registro no tiene régimen de motor.");
}

QString column(const QString &name, const QString &unit)
{
    return unit.isEmpty() ? name : QStringLiteral("%1 [%2]").arg(name, unit);
}

std::vector<QString> columnLabels(const DataTable &table,
                                  const std::vector<LogLayout::ColumnLines> &texts,
                                  bool newerLayout)
{
    std::vector<QString> headers;
    headers.reserve(size_t(table.columnCount()));
    for (int k = 0; k < table.columnCount(); ++k)
        headers.push_back(table.column(k).header);
    const UnitsAndNames::Labels labels = UnitsAndNames::read(texts, headers, newerLayout);
    std::vector<QString> out;
    out.reserve(headers.size());
    for (size_t k = 0; k < headers.size(); ++k)
        out.push_back(column(labels.names[k], labels.units[k]));
    return out;
}

QString figure(double value, int decimals)
{
    if (!std::isfinite(value))
        return QString();
    QString text = QString::number(value, 'f', decimals);
    const bool zero = std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == QLatin1Char('-') || c == QLatin1Char('.') || c == QLatin1Char('0');
    });
    if (zero && text.startsWith(QLatin1Char('-')))
        text.remove(0, 1);
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace AnalysisTexts
