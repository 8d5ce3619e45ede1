#include "app/AppState.h"

#include "chart/Graficas.h"
#include "log/LogReader.h"
#include "power/PowerCurve.h"
#include "stats/EngineSelection.h"
#include "stats/Stats.h"

namespace {

// Default series colours of the boxes (red, green, blue); boxes 0, 5 and 10 keep the standard
// text colour.
const int DefaultColors[AppState::BoxCount][3] = {
    {0, 0, 0},       {128, 128, 255}, {192, 0, 0},     {255, 128, 0},   {0, 192, 0},
    {0, 0, 0},       {128, 255, 255}, {0, 0, 192},     {192, 0, 192},   {255, 192, 255},
    {0, 0, 0},       {128, 0, 0},     {128, 128, 0},   {0, 128, 0},     {192, 192, 0},
};

} // namespace

AppState::AppState(QObject *parent) : QObject(parent)
{
    for (int k = 0; k < BoxCount; ++k)
        m_boxes[size_t(k)].color = defaultBoxColor(k);
}

QColor AppState::defaultBoxColor(int k)
{
    if (k < 0 || k >= BoxCount)
        return QColor(Qt::black);
    return QColor(DefaultColors[k][0], DefaultColors[k][1], DefaultColors[k][2]);
}

void AppState::setBoxTicked(int k, bool ticked)
{
    if (k < 0 || k >= BoxCount || m_boxes[size_t(k)].ticked == ticked)
        return;
    m_boxes[size_t(k)].ticked = ticked;
    emit boxChanged(k);
    Graficas::BoxClicked(*this, k);
}

void AppState::setBoxColor(int k, const QColor &color)
{
    if (k < 0 || k >= BoxCount || m_boxes[size_t(k)].color == color)
        return;
    m_boxes[size_t(k)].color = color;
    emit boxChanged(k);
}

void AppState::setBoxCaption(int k, const QString &caption)
{
    if (k < 0 || k >= BoxCount || m_boxes[size_t(k)].caption == caption)
        return;
    m_boxes[size_t(k)].caption = caption;
    emit boxChanged(k);
}

void AppState::setBoxVisible(int k, bool visible)
{
    if (k < 0 || k >= BoxCount || m_boxes[size_t(k)].visible == visible)
        return;
    m_boxes[size_t(k)].visible = visible;
    emit boxChanged(k);
}

void AppState::selectEngine(EngineType type)
{
    if (m_engine == type)
        return;
    m_engine = type;
    emit engineChanged();
    switch (type) {
    case EngineType::Diesel:
        EngineSelection::DieselSelected(*this);
        break;
    case EngineType::Gasolina:
        EngineSelection::GasolinaSelected(*this);
        break;
    case EngineType::Ninguno:
        EngineSelection::NingunoSelected(*this);
        break;
    }
}

void AppState::setChCVEnabled(bool enabled)
{
    if (m_chcvEnabled == enabled)
        return;
    m_chcvEnabled = enabled;
    emit chcvChanged();
}

void AppState::setChCVTicked(bool ticked)
{
    if (m_chcvTicked == ticked)
        return;
    m_chcvTicked = ticked;
    emit chcvChanged();
    PowerCurve::ChCVClicked(*this);
}

void AppState::setLabel(StatLabel which, const QString &text)
{
    if (which < 0 || which >= StatLabelCount || m_labels[size_t(which)] == text)
        return;
    m_labels[size_t(which)] = text;
    emit labelChanged(which);
}

void AppState::setTxtAtmo(const QString &text)
{
    if (m_txtAtmo == text)
        return;
    m_txtAtmo = text;
    emit txtAtmoChanged();
    Stats::CalcStats(*this);
}

void AppState::setCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    emit captionChanged();
}

bool AppState::FormLoad(const QString &argumentText)
{
    SeriesCount = 3;
    Graficas::ResetChart(*this);
    if (argumentText.isEmpty())
        return true;
    clearRows();
    File(argumentText);
    const bool ok = Loader(argumentText);
    Stats::CalcStats(*this);
    return ok;
}

bool AppState::OpenChosen(const QString &path, const QString &fileName)
{
    Graficas::ResetChart(*this);
    if (path.isEmpty())
        return true;
    clearRows();
    LogTitle = fileName;
    const bool ok = Loader(path);
    Stats::CalcStats(*this);
    return ok;
}

void AppState::File(const QString &path)
{
    // The title is the last piece of the path, whichever separator it uses.
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')),
                                   path.lastIndexOf(QLatin1Char('/')));
    LogTitle = path.mid(cut + 1);
    LogTitle.replace(QLatin1Char('.'), QLatin1Char(' '));
}

bool AppState::Loader(const QString &path)
{
    setCaption(QString::fromLatin1(CaptionPrefix) + LogTitle);

    LogReadResult read = LogReader::read(path);
    if (!read.ok) {
        message(read.error, MessageKind::Warning);
        return false;
    }
    LogContent &log = read.content;

    // Every load starts clean: nothing of the previous log (its groups, columns or series boxes)
    // survives into this one, whatever lines this file has.
    HasGroup003 = HasGroup011 = HasGroup002 = HasGroup115 = false;
    for (int k = 0; k < BoxCount; ++k) {
        setBoxVisible(k, false);
        setBoxCaption(k, QStringLiteral("Check1"));
    }

    if (log.hasHeader)
        LogHeader = log.header;

    if (log.hasGroupLine) {
        for (const QString &field : LogReader::splitFields(log.groupLine)) {
            if (field == QLatin1String("'002"))
                HasGroup002 = true;
            else if (field == QLatin1String("'115"))
                HasGroup115 = true;
            else if (field == QLatin1String("'003"))
                HasGroup003 = true;
            else if (field == QLatin1String("'011"))
                HasGroup011 = true;
            else if (field == QLatin1String("'120"))
                setChCVEnabled(true);
        }
    }

    DataTable loaded = std::move(log.rows);
    loaded.clearColumns();
    if (log.hasColumnLine) {
        loaded.buildColumns(log.columnLine);
        const QStringList fields = LogReader::splitFields(log.columnLine);
        for (int j = 1; j < fields.size() && j <= BoxCount; ++j) {
            if (j == 6 || j == 11 || fields[j].isEmpty())
                continue;
            setBoxCaption(j - 1, fields[j]);
            setBoxVisible(j - 1, true);
        }
    }
    replaceTable(std::move(loaded));

    if (HasGroup003 && HasGroup011)
        selectEngine(EngineType::Diesel);
    else if (HasGroup002 && HasGroup115)
        selectEngine(EngineType::Gasolina);
    else
        selectEngine(EngineType::Ninguno);
    return true;
}

void AppState::DeleteRow(int row)
{
    if (row < 1 || row > table.rowCount())
        return;
    emit rowAboutToBeRemoved(row);
    table.removeRow(row);
    emit rowRemoved(row);
    for (int k = 0; k < BoxCount; ++k) {
        if (m_boxes[size_t(k)].ticked) {
            setBoxTicked(k, false);
            setBoxTicked(k, true);
        }
    }
    Stats::CalcStats(*this);
}

void AppState::ColorChosen(int k, const QColor &color)
{
    if (k < 0 || k >= BoxCount)
        return;
    setBoxColor(k, color);
    setBoxTicked(k, false);
    setBoxTicked(k, true);
}

void AppState::message(const QString &text, MessageKind kind)
{
    if (showMessage)
        showMessage(text, kind);
}

void AppState::clearRows()
{
    chart.detachRowLabels();
    emit tableAboutToReset();
    table.clearRows();
    emit tableReset();
}

void AppState::replaceTable(DataTable replacement)
{
    chart.detachRowLabels();
    emit tableAboutToReset();
    table = std::move(replacement);
    emit tableReset();
}

void AppState::colorColumnCells(int column, const QColor &color)
{
    table.setColumnColor(column, color);
    emit columnColorsChanged();
}
