#include "gui/PairTableModel.h"

#include "core/AnalysisTexts.h"

#include <QBrush>
#include <QColor>

#include <cmath>

PairTableModel::PairTableModel(const SpecifiedActual::Pair &pair, QObject *parent)
    : QAbstractTableModel(parent), m_pair(pair)
{
    // One decimal for values of hundreds and more (mbar, mg/H), three under ten (lambda, volts).
    double largest = 0;
    for (const SpecifiedActual::Bin &bin : m_pair.bins)
        if (std::isfinite(bin.specified))
            largest = std::max(largest, std::abs(bin.specified));
    m_decimals = largest >= 100 ? 1 : largest >= 10 ? 2 : 3;
}

QColor PairTableModel::shadeColor(int shade)
{
    return shade < 0 ? QColor(255, 200, 200) : shade > 0 ? QColor(200, 218, 255) : QColor();
}

int PairTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_pair.bins.size());
}

int PairTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PairTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const SpecifiedActual::Bin &bin = m_pair.bins[size_t(index.row())];
    switch (role) {
    case Qt::TextAlignmentRole:
        return int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (const int shade = bin.shade())
            return QBrush(shadeColor(shade));
        return QVariant();
    case Qt::DisplayRole:
        break;
    default:
        return QVariant();
    }
    switch (index.column()) {
    case Speed:
        return AnalysisTexts::figure(bin.rpm, 0);
    case Rows:
        return bin.rows;
    case Specified:
        return AnalysisTexts::figure(bin.specified, m_decimals);
    case Actual:
        return AnalysisTexts::figure(bin.actual, m_decimals);
    case Difference:
        return AnalysisTexts::figure(bin.difference, m_decimals);
    case Worst:
        return AnalysisTexts::figure(bin.worst, m_decimals);
    default:
        return QVariant();
    }
}

QVariant PairTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const auto withUnit = [this](const char *title) {
        const QString text = QString::fromUtf8(title);
        return m_pair.unit.isEmpty() ? text : QStringLiteral("%1\n(%2)").arg(text, m_pair.unit);
    };
    switch (section) {
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
