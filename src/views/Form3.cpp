#include "views/Form3.h"

#include "app/AppState.h"
#include "app/Twips.h"
#include "chart/ChartModel.h"
#include "chart/ChartView.h"
#include "chart/PointReadout.h"
#include "views/FullChart.h"
#include "views/ImageFiles.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace {

const int DesignWidth = 8010; // client area at design, twips
const int DesignHeight = 5265;
const int ButtonWidth = 2175;
const int ButtonHeight = 615;

// A push button whose caption wraps onto more lines when it is wider than the button, as the
// long caption of CmdSave does at its design width.
class WrappingButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        painter.drawItemText(rect().adjusted(4, 2, -4, -2), Qt::AlignCenter | Qt::TextWordWrap,
                             palette(), isEnabled(), text(), QPalette::ButtonText);
    }
};

} // namespace

Form3::Form3(AppState &state, QWidget *parent)
    : QWidget(parent, Qt::Window), m_state(state), m_model(new ChartModel(this))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Grafica"));
    resize(Twips::size(DesignWidth, DesignHeight));

    m_chart = new ChartView(m_model, this);
    m_chart->setObjectName(QStringLiteral("Chart2"));
    m_cmdSave = new WrappingButton(QStringLiteral("Guardar grafica pantalla completa"), this);
    m_cmdSave->setObjectName(QStringLiteral("CmdSave"));

    // The read-out uses the main table and box captions; it sets Chart2's own hint only.
    connect(m_chart, &ChartView::pointPicked, this, [this](int series, int point) {
        m_model->setHintText(PointReadout::Text(m_state, *m_model, series, point));
    });
    connect(m_chart, &ChartView::clicked, this, &QWidget::hide);
    connect(m_cmdSave, &QPushButton::clicked, this, &Form3::saveChart);
    layOut();
}

Form3::~Form3() = default;

Form3::Layout Form3::layoutFor(int outerWidth, int outerHeight)
{
    Layout layout;
    const int chartHeight = std::max(0, outerHeight - 1300);
    layout.chart = QRect(0, 0, std::max(0, outerWidth), chartHeight);
    layout.button = QRect(outerWidth / 2 - 2000, chartHeight + 100, ButtonWidth, ButtonHeight);
    return layout;
}

void Form3::showFilled()
{
    if (!m_placed) {
        // A new window: design size, centred on the screen.
        Twips::centre(this, Twips::size(DesignWidth, DesignHeight));
        m_placed = true;
    }
    if (isVisible()) {
        // Already open (perhaps behind the main window): bring it to the front.
        raise();
        activateWindow();
    }
    show();
    FullChart::Fill(m_state, *m_model);
    setWindowTitle(m_state.caption());
}

void Form3::layOut()
{
    // The window's outer size, title bar and border included, as the layout is reckoned in it.
    const QSize outer = frameGeometry().size();
    const Layout layout =
        layoutFor(outer.width() * Twips::PerPixel, outer.height() * Twips::PerPixel);
    m_chart->setGeometry(Twips::rect(layout.chart.x(), layout.chart.y(), layout.chart.width(),
                                     layout.chart.height()));
    m_cmdSave->setGeometry(Twips::rect(layout.button.x(), layout.button.y(), layout.button.width(),
                                       layout.button.height()));
}

void Form3::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void Form3::moveEvent(QMoveEvent *event)
{
    // The frame becomes known once the window manager has decorated the window.
    QWidget::moveEvent(event);
    layOut();
}

void Form3::closeEvent(QCloseEvent *event)
{
    // Closed, the window starts over at the next press: design size, centred.
    m_placed = false;
    QWidget::closeEvent(event);
}

void Form3::saveChart()
{
    const QImage image = m_chart->render(m_chart->size());
    const ImageFiles::SaveResult saved =
        ImageFiles::saveChartImage(image, m_state.LogTitle, m_programDir);
    if (!saved.ok) {
        QMessageBox::warning(this, QStringLiteral("Ondalyx"), saved.error);
        return;
    }
    ImageFiles::openImage(saved.path);
}
