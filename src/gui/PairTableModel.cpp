#include "gui/PairTableModel.h"

#include "core/AnalysisTexts.h"

#include <QBrush>
#include <QColor>

#include <cmath>

PairTableModel::PairTableModel(const SpecifiedActual::Pair &pair, QObject *parent)
    : QAbstractTableModel(parent), m_pair(pair)
{
    m_rows.reserve(pair.bins.size());
    for (const SpecifiedActual::Bin &bin : pair.bins)
        m_rows.push_back({bin.rpm, {bin, std::nullopt}});
    takeDecimals(pair.bins);
}

PairTableModel::PairTableModel(const SpecifiedActual::Pair &pair,
                               const SpecifiedActual::Pair &second, QObject *parent)
    : QAbstractTableModel(parent), m_pair(pair), m_compared(true)
{
    // Both lists of bins are ascending: merged by engine speed.
    const std::vector<SpecifiedActual::Bin> &a = pair.bins, &b = second.bins;
    size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        Row row;
        if (j == b.size() || (i < a.size() && a[i].rpm <= b[j].rpm)) {
            row.rpm = a[i].rpm;
            row.bins[0] = a[i++];
            if (j < b.size() && b[j].rpm == row.rpm)
                row.bins[1] = b[j++];
        } else {
            row.rpm = b[j].rpm;
            row.bins[1] = b[j++];
        }
        m_rows.push_back(row);
    }
    takeDecimals(a);
    const int first = m_decimals;
    takeDecimals(b);
    m_decimals = std::min(first, m_decimals);
}

// One decimal for values of hundreds and more (mbar, mg/H), three under ten (lambda, volts).
void PairTableModel::takeDecimals(const std::vector<SpecifiedActual::Bin> &bins)
{
    double largest = 0;
    for (const SpecifiedActual::Bin &bin : bins)
        if (std::isfinite(bin.specified))
            largest = std::max(largest, std::abs(bin.specified));
    m_decimals = largest >= 100 ? 1 : largest >= 10 ? 2 : 3;
}

QColor PairTableModel::shadeColor(int shade)
{
    return shade < 0 ? QColor(255, 200, 200) : shade > 0 ? QColor(200, 218, 255) : QColor();
}

// Compared, every column but "Régimen" comes twice, the first log's then the second's.
PairTableModel::Column PairTableModel::measure(int column) const
{
    return Column(m_compared && column > Speed ? (column + 1) / 2 : column);
}

int PairTableModel::logOf(int column) const
{
    return m_compared && column > Speed ? (column + 1) % 2 : 0;
}

int PairTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PairTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_compared ? 2 * Worst - 1 : ColumnCount;
}

QVariant PairTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const Row &row = m_rows[size_t(index.row())];
    const Column what = measure(index.column());
    const std::optional<SpecifiedActual::Bin> &bin = row.bins[logOf(index.column())];
    switch (role) {
    case Qt::TextAlignmentRole:
        return int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ToolTipRole:
        if (m_compared && what == Difference && bin)
            return QStringLiteral("Peor: %1").arg(AnalysisTexts::figure(bin->worst, m_decimals));
        return QVariant();
    case Qt::BackgroundRole:
        if (bin && (!m_compared || what == Difference))
            if (const int shade = bin->shade())
                return QBrush(shadeColor(shade));
        return QVariant();
    case Qt::DisplayRole:
        break;
    default:
        return QVariant();
    }
    if (what == Speed)
        return AnalysisTexts::figure(row.rpm, 0);
    if (!bin)
        return QVariant();
    switch (what) {
    case Rows:
        return bin->rows;
    case Specified:
        return AnalysisTexts::figure(bin->specified, m_decimals);
    case Actual:
        return AnalysisTexts::figure(bin->actual, m_decimals);
    case Difference:
        return AnalysisTexts::figure(bin->difference, m_decimals);
    case Worst:
        return AnalysisTexts::figure(bin->worst, m_decimals);
    default:
        return QVariant();
    }
}

QVariant PairTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    const bool lettered = m_compared && section != Speed;
    if (lettered && role == Qt::DisplayRole)
        return logOf(section) == 0 ? QStringLiteral("A") : QStringLiteral("B");
    if (role != (lettered ? GroupRole : int(Qt::DisplayRole)))
        return QAbstractTableModel::headerData(section, orientation, role);
    const auto withUnit = [&](const char *title) {
        const QString text = QString::fromUtf8(title);
        return m_pair.unit.isEmpty() ? text : QStringLiteral("%1\n(%2)").arg(text, m_pair.unit);
    };
    switch (measure(section)) {
    case Speed:
        return QStringLiteral("Régimen\n(rpm)");
    case Rows:
        return QStringLiteral("Filas");
    case Specified:
        return withUnit("Especificado");
    case Actual:
        return withUnit("Real");
    case Difference:
        return withUnit("Diferencia");
    case Worst:
        return withUnit("Peor");
    default:
        return QVariant();
    }
}
