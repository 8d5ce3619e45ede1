#include "program/AppState.h"

namespace {

// Default series colours of the boxes (red, green, blue).
const int DefaultColors[AppState::BoxCount][3] = {
    {0, 0, 0},       // box 0: the standard text colour
    {128, 128, 255}, // box 1: light blue
    {192, 0, 0},     // box 2: dark red
    {255, 128, 0},   // box 3: orange
    {0, 192, 0},     // box 4: green
    {0, 0, 0},       // box 5: the standard text colour
    {128, 255, 255}, // box 6: light cyan
    {0, 0, 192},     // box 7: dark blue
    {192, 0, 192},   // box 8: purple
    {255, 192, 255}, // box 9: pink
    {0, 0, 0},       // box 10: the standard text colour
    {128, 0, 0},     // box 11: maroon
    {128, 128, 0},   // box 12: olive
    {0, 128, 0},     // box 13: dark green
    {192, 192, 0},   // box 14: dark yellow
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
    BoxClicked(k);
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
        DieselSelected();
        break;
    case EngineType::Gasolina:
        GasolinaSelected();
        break;
    case EngineType::Ninguno:
        NingunoSelected();
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
    ChCVClicked();
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
    // Kept as the program always did: every key reruns the statistics, which the text feeds not.
    CalcStats();
}

void AppState::setCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    emit captionChanged();
}

void AppState::message(const QString &text, MessageKind kind)
{
    if (showMessage)
        showMessage(text, kind);
}
