#include "gui/Form3.h"

#include "core/ChartModel.h"
#include "core/ProgramName.h"
#include "gui/ChartView.h"
#include "program/AppState.h"
#include "program/FullChart.h"
#include "program/PointReadout.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

const int DesignWidth = 8010; // client area at design, twips
const int DesignHeight = 5265;
const int ButtonWidth = 2175;
const int ButtonHeight = 615;
const int WidthInset = 0; // the chart takes the whole width

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

Form3::Form3(AppState &state, const QString &programDir, const QString &picturesDir,
             QWidget *parent)
    : FullWindow(QSize(DesignWidth, DesignHeight), WidthInset, QSize(ButtonWidth, ButtonHeight),
                 parent),
      m_state(state), m_model(new ChartModel(this)), m_programDir(programDir),
      m_picturesDir(picturesDir)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Grafica"));

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
    setParts(m_chart, m_cmdSave);
}

Form3::~Form3() = default;

FullWindow::Parts Form3::partsAt(int outerWidth, int outerHeight)
{
    return partsFor(outerWidth, outerHeight, WidthInset, QSize(ButtonWidth, ButtonHeight));
}

void Form3::showFilled()
{
    present();
    FullChart::Fill(m_state, *m_model);
    setWindowTitle(m_state.caption());
}

void Form3::saveChart()
{
    const ImageFiles::SaveResult saved =
        m_chart->saveImage(m_state.LogTitle, m_programDir, m_picturesDir);
    if (!saved.ok)
        QMessageBox::warning(this, programName(), saved.error);
}
