#include "gui/AnalysisPairs.h"

#include "core/AnalysisTexts.h"
#include "gui/AnalysisLog.h"
#include "gui/ColumnListModel.h"
#include "gui/GroupedHeader.h"
#include "gui/PairTableModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTableView>

#include <algorithm>

namespace {

constexpr int RowsShown = 14;     // a table of more bins scrolls
constexpr int HeaderPadding = 14; // pixels

QComboBox *columnChooser(ColumnListModel *model, const QString &name)
{
    auto *chooser = new QComboBox;
    chooser->setObjectName(name);
    chooser->setModel(model);
    // A log of many columns: the chooser neither measures every entry nor lays them all out.
    chooser->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    chooser->setMinimumContentsLength(12);
    if (auto *list = qobject_cast<QListView *>(chooser->view()))
        list->setUniformItemSizes(true);
    return chooser;
}

} // namespace

AnalysisPairs::AnalysisPairs(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ParesAnalisis"));
    build();
    wire();
}

void AnalysisPairs::build()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto *choice = new QHBoxLayout;
    m_onlyPulls = new QCheckBox(QStringLiteral("Solo tirones"));
    m_onlyPulls->setObjectName(QStringLiteral("SoloTirones"));
    choice->addWidget(m_onlyPulls);
    choice->addSpacing(12);
    m_columns = new ColumnListModel(false, this);
    m_specified = columnChooser(m_columns, QStringLiteral("ParEspecificado"));
    m_actual = columnChooser(m_columns, QStringLiteral("ParReal"));
    choice->addWidget(new QLabel(QStringLiteral("Especificado:")));
    choice->addWidget(m_specified, 1);
    choice->addWidget(new QLabel(QStringLiteral("Real:")));
    choice->addWidget(m_actual, 1);
    m_add = new QPushButton(QStringLiteral("Añadir par"));
    m_add->setObjectName(QStringLiteral("AnadirPar"));
    choice->addWidget(m_add);
    layout->addLayout(choice);

    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    m_tables = new QWidget;
    m_tablesLayout = new QVBoxLayout(m_tables);
    m_tablesLayout->setContentsMargins(0, 0, 0, 0);
    m_tablesLayout->setSpacing(2);
    scroll->setWidget(m_tables);
    layout->addWidget(scroll, 1);
}

void AnalysisPairs::wire()
{
    connect(m_onlyPulls, &QCheckBox::toggled, this, &AnalysisPairs::onlyPullsChanged);
    connect(m_add, &QPushButton::clicked, this, [this] {
        const int specified = m_specified->currentData(Qt::UserRole).toInt();
        const int actual = m_actual->currentData(Qt::UserRole).toInt();
        if (m_specified->currentIndex() >= 0 && m_actual->currentIndex() >= 0)
            emit pairChosen(specified, actual);
    });
}

void AnalysisPairs::setLog(const AnalysisLog *log, const AnalysisLog *second)
{
    {
        const QSignalBlocker block(m_onlyPulls);
        m_onlyPulls->setChecked(log && log->result().onlyPulls);
    }
    const int specified = m_specified->currentIndex();
    const int actual = m_actual->currentIndex();
    m_columns->setLog(log);
    const int count = m_columns->rowCount();
    // The choosers keep their places when the columns stay (a row deleted, the pair added).
    m_specified->setCurrentIndex(specified >= 0 && specified < count ? specified : 0);
    m_actual->setCurrentIndex(actual >= 0 && actual < count ? actual : std::min(1, count - 1));
    m_onlyPulls->setEnabled(log);
    m_add->setEnabled(count > 1);
    showTables(log, second);
}

void AnalysisPairs::showTables(const AnalysisLog *log, const AnalysisLog *second)
{
    while (QLayoutItem *item = m_tablesLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (!log) {
        m_tablesLayout->addStretch(1);
        return;
    }
    const Analysis::Result &result = log->result();
    if (result.pairs.empty()) {
        auto *none = new QLabel(QStringLiteral("El registro no tiene pares de especificado y "
                                               "real: elija dos columnas para compararlas."));
        none->setWordWrap(true);
        m_tablesLayout->addWidget(none);
    }
    std::vector<int> match(result.pairs.size(), -1);
    if (second)
        match = SpecifiedActual::matchPairs(result.pairs, result.names, second->result().pairs,
                                            second->result().names);
    int n = 0;
    for (size_t k = 0; k < result.pairs.size(); ++k) {
        const SpecifiedActual::Pair &pair = result.pairs[k];
        const QString names =
            log->name(pair.specified) + QStringLiteral(" / ") + log->name(pair.actual);
        QString heading = AnalysisTexts::column(names, pair.unit);
        if (second && match[k] < 0)
            heading += QStringLiteral(" (solo en A)");
        auto *title = new QLabel(heading);
        title->setTextFormat(Qt::PlainText);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        m_tablesLayout->addWidget(title);

        auto *table = new QTableView;
        table->setObjectName(QStringLiteral("Par_%1").arg(++n));
        auto *model =
            match[k] >= 0
                ? new PairTableModel(pair, second->result().pairs[size_t(match[k])], table)
                : new PairTableModel(pair, table);
        if (model->compared())
            table->setHorizontalHeader(new GroupedHeader(PairTableModel::GroupRole, table));
        table->setModel(model);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setSelectionMode(QAbstractItemView::NoSelection);
        table->setWordWrap(false);
        table->verticalHeader()->hide();
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        const int rowHeight = table->fontMetrics().height() + 4;
        table->verticalHeader()->setDefaultSectionSize(rowHeight);
        QHeaderView *header = table->horizontalHeader();
        header->setHighlightSections(false);
        // Each column as wide as the lines of its title: the figures are never wider. Compared,
        // the columns under one title share it, and a figure may be wider than a letter.
        const QFontMetrics metrics(header->font());
        for (int c = 0; c < model->columnCount(); ++c) {
            const QString title = model->headerData(c, Qt::Horizontal).toString();
            int width = metrics.size(0, title).width();
            if (model->compared() && c != PairTableModel::Speed) {
                const QString group =
                    model->headerData(c, Qt::Horizontal, PairTableModel::GroupRole).toString();
                width = std::max(width, metrics.size(0, group).width() / 2);
                for (int r = 0; r < model->rowCount(); ++r)
                    width = std::max(width, table->fontMetrics().horizontalAdvance(
                                                model->index(r, c).data().toString()));
            }
            header->resizeSection(c, width + HeaderPadding);
        }
        const int rows = std::max(1, std::min(RowsShown, table->model()->rowCount()));
        table->setFixedHeight(table->horizontalHeader()->sizeHint().height() + rows * rowHeight +
                              2 * table->frameWidth());
        m_tablesLayout->addWidget(table);
    }
    m_tablesLayout->addStretch(1);
}
