#include "gui/AnalysisPower.h"

#include "core/AnalysisTexts.h"
#include "core/PullPower.h"
#include "core/Vehicle.h"
#include "gui/AnalysisLog.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char *const Muted = "#555555";
const char *const Warning = "#b00000"; // as the tab's other warnings

QString span(const QString &text, const char *color)
{
    return QStringLiteral("<span style=\"color:%1\">%2</span>")
        .arg(QLatin1String(color), text.toHtmlEscaped());
}

// The pulls a choice lists, as indices into the log's pulls.
std::vector<int> chosenPulls(const AnalysisLog *log, const PullChoice &choice)
{
    std::vector<int> pulls;
    if (!log)
        return pulls;
    const int count = int(log->power().size());
    if (choice.all) {
        for (int p = 0; p < count; ++p)
            pulls.push_back(p);
        return pulls;
    }
    for (int p : choice.pulls)
        if (p >= 0 && p < count)
            pulls.push_back(p);
    return pulls;
}

// A pull's figures, and under them its samples per second and its warnings, in their order.
QString figures(const AnalysisLog &log, int pull)
{
    const PullPower::Result &power = log.power()[size_t(pull)];
    QStringList lines{
        QStringLiteral("<b>%1</b>").arg(PullPower::FigureLine(pull + 1, power).toHtmlEscaped())};
    if (power.rate)
        lines << span(AnalysisTexts::rate(*power.rate), Muted);
    for (const QString &warning : PullPower::Warnings(power))
        lines << span(warning, Warning);
    return lines.join(QStringLiteral("<br>"));
}

QString vehicleText(const Vehicle &v)
{
    const auto t = [](double value) { return Vehicle::text(value); };
    return QStringLiteral("Vehículo: %1 kg, %2 rpm a 100 km/h, Cd %3, área frontal %4 m², "
                          "rodadura %5, pérdidas %6 %, aire %7 kg/m³.")
        .arg(t(v.mass), t(v.rpmAt100), t(v.dragCoefficient), t(v.frontalArea),
             t(v.rollingResistance), t(v.lossesPercent), t(v.airDensity));
}

} // namespace

AnalysisPower::AnalysisPower(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PotenciaAnalisis"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_text = new QTextBrowser;
    m_text->setObjectName(QStringLiteral("PotenciaTirones"));
    m_text->setFrameShape(QFrame::NoFrame);
    m_text->setOpenLinks(false);
    layout->addWidget(m_text);
}

void AnalysisPower::clear()
{
    m_text->clear();
}

QString AnalysisPower::text() const
{
    return m_text->toPlainText();
}

void AnalysisPower::showPulls(const AnalysisLog *log, const PullChoice &choice,
                              const QString &title, const AnalysisLog *second,
                              const PullChoice &secondChoice, const QString &secondTitle,
                              const Vehicle &vehicle)
{
    if (!log) {
        clear();
        return;
    }
    const std::vector<int> first = chosenPulls(log, choice);
    const std::vector<int> other = chosenPulls(second, secondChoice);
    const size_t rows = std::max(first.size(), other.size());
    // What the figures were computed with comes first.
    QString html = QStringLiteral("<p>%1</p>").arg(span(vehicleText(vehicle), Muted));
    if (log->power().empty() && (!second || second->power().empty())) {
        html += QStringLiteral("<p>%1</p>")
                    .arg(QStringLiteral("El registro no tiene tirones: no "
                                        "hay potencia que calcular."));
    } else if (!second) {
        for (size_t k = 0; k < std::min(first.size(), size_t(MaxShown)); ++k)
            html += QStringLiteral("<p>%1</p>").arg(figures(*log, first[k]));
    } else {
        html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">"
                               "<tr><th align=\"left\">A · %1</th><th align=\"left\">B · %2</th>"
                               "<th align=\"left\">Diferencia (B − A)</th></tr>")
                    .arg(title.toHtmlEscaped(), secondTitle.toHtmlEscaped());
        for (size_t k = 0; k < std::min(rows, size_t(MaxShown)); ++k) {
            const bool a = k < first.size(), b = k < other.size();
            const QString difference =
                a && b ? PullPower::DifferenceText(log->power()[size_t(first[k])],
                                                   second->power()[size_t(other[k])])
                       : QString();
            html +=
                QStringLiteral("<tr><td valign=\"top\">%1</td><td valign=\"top\">%2</td>"
                               "<td valign=\"top\"><b>%3</b></td></tr>")
                    .arg(a ? figures(*log, first[k]) : QString(),
                         b ? figures(*second, other[k]) : QString(), difference.toHtmlEscaped());
        }
        html += QStringLiteral("</table>");
    }
    if (rows > size_t(MaxShown))
        html += QStringLiteral("<p>%1</p>")
                    .arg(span(QStringLiteral("Se muestran los primeros %1 tirones de %2: elija "
                                             "tirones en la lista para ver otros.")
                                  .arg(MaxShown)
                                  .arg(rows),
                              Muted));
    html += QStringLiteral("<p>%1</p>")
                .arg(span(QStringLiteral("La potencia sale del régimen a lo largo del tirón y de "
                                         "los datos del vehículo; supone carretera llana, sin "
                                         "viento, una sola marcha y sin patinar."),
                          Muted));
    m_text->setHtml(html);
}
