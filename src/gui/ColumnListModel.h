#pragma once

#include <QAbstractListModel>

#include <cstdint>
#include <vector>

class AnalysisLog;

// The value columns of a log as a list, one entry per column with its name and unit ("Boost
// Pressure (actual) [mbar]"): the tab's series list, checkable and with each series' colour, and
// the column choosers of a pair. The series list may begin with the power of the pulls ("Potencia
// [CV]", "Par [Nm]", AnalysisLog's power entries). Entries are read when shown, so a log of
// 100,000 columns costs nothing until it is scrolled.
class ColumnListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ColumnListModel(bool checkable, QObject *parent = nullptr);

    // Shows the value columns of `log` (none when null), after the power entries when
    // `withPower`, with `ticked` ticked.
    void setLog(const AnalysisLog *log, const std::vector<int> &ticked = {},
                bool withPower = false);
    // The ticked columns and entries, in list order.
    std::vector<int> ticked() const;
    // The column or entry of list row `row`, and the row of one (-1 when it is not listed).
    int column(int row) const;
    int row(int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    void tickedChanged();

private:
    const bool m_checkable;
    const AnalysisLog *m_log = nullptr;
    int m_powerRows = 0;           // the power entries before the columns
    std::vector<uint8_t> m_ticked; // by list row
};
