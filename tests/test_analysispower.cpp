// The vehicle, the power of the pulls and a second log on the "Análisis" tab, driven in a shown
// main window as a user would, and the vehicle as the program keeps it. The vehicle's settings go
// to a scratch folder, never the user's.
#include "GuiSupport.h"

#include "core/LogReader.h"
#include "gui/AnalysisChart.h"
#include "gui/AnalysisPower.h"
#include "gui/AnalysisTab.h"
#include "gui/PairTableModel.h"
#include "gui/VehicleDialog.h"
#include "program/VehicleSettings.h"

#include <qcustomplot.h>

#include <functional>

namespace {

using TestSupport::example;

// examples/pulls.csv with `boost` added to every actual boost (table column 8, field 9 of a data
// line), the rest byte for byte: the same pulls and power, the boost pair's bins shifted by
// `boost`.
QByteArray pullsWithBoost(int boost)
{
    QList<QByteArray> lines = TestSupport::readAll(example("pulls.csv")).split('\n');
    for (int i = 7; i < lines.size(); ++i) {
        QList<QByteArray> fields = lines[i].split(',');
        if (fields.size() > 10)
            fields[9] = QByteArray::number(fields[9].toInt() + boost);
        lines[i] = fields.join(',');
    }
    return lines.join('\n');
}

// A main window on pulls.csv, the tab in front.
struct Window : GuiSupport::Window {
    Window() : GuiSupport::Window(example("pulls.csv"))
    {
        tabs()->setCurrentIndex(3);
        QCoreApplication::processEvents();
    }
    AnalysisTab *tab() { return find<AnalysisTab>(QStringLiteral("Analisis")); }
    const std::vector<AnalysisCurve> &curves() { return tab()->chart()->curves(); }
    QString powerText() { return tab()->powerPage()->text(); }
    QAbstractItemModel *pulls() { return find<QListView>(QStringLiteral("Tirones"))->model(); }
    void compare(const QString &path)
    {
        tab()->setFileChooser([path] { return path; });
        find<QPushButton>(QStringLiteral("CompararCon"))->click();
        QCoreApplication::processEvents();
    }
    // Opens "Vehículo…" and, once it is up, lets `answer` fill it in and press its buttons; the
    // dialog is closed afterwards whatever `answer` did.
    void vehicleDialog(const std::function<void(VehicleDialog *)> &answer)
    {
        QTimer::singleShot(0, [answer] {
            if (auto *dialog = qobject_cast<VehicleDialog *>(QApplication::activeModalWidget())) {
                answer(dialog);
                if (dialog->isVisible())
                    dialog->reject();
            }
        });
        find<QPushButton>(QStringLiteral("Vehiculo"))->click();
    }
};

QSettings programSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ondalyx"),
                     QStringLiteral("Ondalyx"));
}

} // namespace

class TestAnalysisPower : public QObject {
    Q_OBJECT
    QTemporaryDir m_settings;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, m_settings.path());
    }
    void init() { programSettings().clear(); }

    // A refused entry keeps the dialog open with the message that names the field, and nothing of
    // the entries changes the vehicle, not even a good value in another field (no half-applied
    // vehicle). Which entries are refused is the vehicle tests' business.
    void dialogRefusesBadEntries()
    {
        Window w;
        QString shown;
        bool stayedOpen = false;
        w.vehicleDialog([&](VehicleDialog *dialog) {
            dialog->field(Vehicle::Mass)->setText(QStringLiteral("1200"));
            dialog->field(Vehicle::Losses)->setText(QStringLiteral("100"));
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
            stayedOpen = dialog->isVisible();
            shown = dialog->problemLabel()->isVisible() ? dialog->problemLabel()->text() : "";
        });
        QVERIFY(stayedOpen);
        QCOMPARE(shown, "Las pérdidas de transmisión deben ser de 0 % o más y de menos de 100 %.");
        QCOMPARE(w.tab()->vehicle().mass, 1500.0);
        QVERIFY(!programSettings().contains(VehicleSettings::key(Vehicle::Mass)));
    }

    // The power of each pull: "Potencia [CV]" and "Par [Nm]" first in the series list, CV on the
    // left axis and Nm on the right, one line per pull; the figures with each pull's rate and
    // warnings under them. A good vehicle is kept in the settings and recomputes both at once.
    void powerFollowsTheVehicle()
    {
        Window w;
        QAbstractItemModel *series = w.find<QListView>(QStringLiteral("SeriesAnalisis"))->model();
        QCOMPARE(series->index(0, 0).data().toString(), QStringLiteral("Potencia [CV]"));
        QCOMPARE(series->index(1, 0).data().toString(), QStringLiteral("Par [Nm]"));
        for (int row = 0; row < series->rowCount(); ++row) // those two alone
            series->setData(series->index(row, 0), row < 2 ? Qt::Checked : Qt::Unchecked,
                            Qt::CheckStateRole);
        QCOMPARE(w.curves()[0].name + " " + w.curves()[1].name, QStringLiteral("Potencia Par"));
        QCustomPlot *plot = w.tab()->chart()->plot();
        QCOMPARE(plot->yAxis->label(), QStringLiteral("CV"));
        QCOMPARE(plot->yAxis2->label(), QStringLiteral("Nm"));
        const std::vector<PullPower::Result> &power = w.tab()->log()->power();
        QCOMPARE(power.size(), size_t(2));
        QCOMPARE(w.curves()[0].spans.size(), size_t(2));
        QCOMPARE(CurvePixels::extent(w.curves()[0]).yHigh,
                 std::max(power[0].peakCv->value, power[1].peakCv->value));

        const QString before = w.powerText();
        QVERIFY2(before.contains(PullPower::FigureLine(1, power[0]) +
                                 "\n0,8 muestras por segundo\nPocas muestras por segundo: las "
                                 "curvas son orientativas."),
                 qPrintable(before));
        const double peak = CurvePixels::extent(w.curves()[0]).yHigh;

        w.vehicleDialog([](VehicleDialog *dialog) {
            dialog->field(Vehicle::Mass)->setText(QStringLiteral("2250,5"));
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(w.tab()->vehicle().mass, 2250.5);
        QVERIFY(CurvePixels::extent(w.curves()[0]).yHigh > 1.3 * peak); // the mass term dominates
        QVERIFY(w.powerText().contains("Vehículo: 2250,5 kg"));

        Window again; // the kept vehicle, read when the tab is first shown
        QCOMPARE(again.tab()->vehicle().mass, 2250.5);
    }

    // The kept vehicle comes back exactly (no digit lost); a kept value the dialog would refuse,
    // or no number, gives that field its default and leaves the others.
    void keptVehicle()
    {
        VehicleSettings::save({1234.5, 0.1 + 0.2, 0.285, 2.05, 0.0125, 99.9, 1.2041});
        QSettings settings = programSettings();
        settings.setValue(VehicleSettings::key(Vehicle::FrontalArea), "grande");
        settings.setValue(VehicleSettings::key(Vehicle::Losses), 100);
        const Vehicle kept = VehicleSettings::load(), defaults;
        QCOMPARE(QList<double>({kept.mass, kept.rpmAt100, kept.dragCoefficient, kept.frontalArea,
                                kept.rollingResistance, kept.lossesPercent, kept.airDensity}),
                 QList<double>({1234.5, 0.1 + 0.2, 0.285, defaults.frontalArea, 0.0125,
                                defaults.lossesPercent, 1.2041}));
    }

    // A second log: its pulls after the first's, its curves dashed in the same colours, the pairs
    // with a column per log, the peaks side by side with their difference; the vehicle and "Solo
    // tirones" reach it too, and "Quitar comparación" drops it.
    void secondLogSideBySide()
    {
        Window w;
        QList<QPair<QString, QColor>> first;
        for (const AnalysisCurve &curve : w.curves())
            first << qMakePair(curve.name, curve.color);
        QCOMPARE(first.size(), 2);
        w.compare(TestSupport::writeFile(w.dir, "tuned.csv", pullsWithBoost(60)));
        QVERIFY(w.messages.isEmpty() && w.tab()->comparison());
        QCOMPARE(w.form.state().table.rowCount(), 112); // the loaded log stays
        QCOMPARE(w.pulls()->rowCount(), 5);
        QCOMPARE(w.pulls()->index(4, 0).data().toString(),
                 QStringLiteral("B · Tirón 2: 1.297-4.000 rpm, 15,4 s, 14 filas"));
        QCOMPARE(w.curves().size(), size_t(4));
        for (int k = 0; k < 2; ++k) {
            const AnalysisCurve &b = w.curves()[size_t(2 + k)];
            QCOMPARE(b.name, "B · " + first[k].first);
            QCOMPARE(b.color, first[k].second);
            QCOMPARE(b.style, Qt::DashLine);
            QCOMPARE(w.curves()[size_t(k)].style, Qt::SolidLine);
        }
        QCOMPARE(w.find<QLabel>(QStringLiteral("NombreComparacion"))->text(),
                 QStringLiteral("B (a trazos): tuned csv"));

        // The boost pair: the same bins, the second log's actual boost 60 mbar over the first's.
        const auto boostTable = [&] {
            return qobject_cast<PairTableModel *>(
                w.find<QTableView>(QStringLiteral("Par_2"))->model());
        };
        PairTableModel *boost = boostTable();
        QVERIFY(boost && boost->compared());
        QStringList titles;
        for (int c = 4; c < 7; ++c)
            titles << boost->headerData(c, Qt::Horizontal, PairTableModel::GroupRole).toString() +
                          "|" + boost->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles,
                 QStringList({"Especificado\n(mbar)|B", "Real\n(mbar)|A", "Real\n(mbar)|B"}));
        const auto number = [&](int row, int column) {
            return boost->index(row, column).data().toString().replace(',', '.').toDouble();
        };
        for (int row = 0; row < boost->rowCount(); ++row) {
            QCOMPARE(number(row, 6), number(row, 5) + 60);
            QCOMPARE(number(row, 8), number(row, 7) + 60);
            QCOMPARE(number(row, 4), number(row, 3));
        }

        // One pull of each log chosen: those two alone, on the chart and side by side.
        auto *list = w.find<QListView>(QStringLiteral("Tirones"));
        list->selectionModel()->select(w.pulls()->index(2, 0), QItemSelectionModel::ClearAndSelect);
        list->selectionModel()->select(w.pulls()->index(3, 0), QItemSelectionModel::Select);
        const AnalysisLog &a = *w.tab()->log(), &b = *w.tab()->comparison();
        QCOMPARE(w.curves()[2].spans[0].first, b.result().pulls[0].firstRow - 1);
        const QString text = w.powerText();
        QVERIFY2(text.contains(PullPower::FigureLine(2, a.power()[1])) &&
                     text.contains(PullPower::FigureLine(1, b.power()[0])) &&
                     text.contains(PullPower::DifferenceText(a.power()[1], b.power()[0])),
                 qPrintable(text));

        // The same pulls give the same power with the vehicle changed, and the bins over every
        // row start at idle, as the first log's.
        Vehicle heavier;
        heavier.mass = 1800;
        w.tab()->setVehicle(heavier);
        QCOMPARE(b.power()[0].peakCv->value, a.power()[0].peakCv->value);
        QCOMPARE(boostTable()->index(0, 0).data().toString(), QStringLiteral("1250"));
        w.find<QCheckBox>(QStringLiteral("SoloTirones"))->click();
        QCOMPARE(boostTable()->index(0, 0).data().toString(), QStringLiteral("750"));
        QCOMPARE(boostTable()->index(0, 2).data(), boostTable()->index(0, 1).data());

        w.find<QPushButton>(QStringLiteral("QuitarComparacion"))->click();
        QVERIFY(!w.tab()->comparison());
        QCOMPARE(w.pulls()->rowCount(), 3);
        QCOMPARE(w.curves().size(), size_t(2));
        QVERIFY(
            !qobject_cast<PairTableModel *>(w.find<QTableView>(QStringLiteral("Par_1"))->model())
                 ->compared());
    }

    // A second log that cannot be read says why, with the reader's message, and the one compared
    // before stays. A file of several sessions offers them. A load of another log drops it.
    void unreadableSecondLogChangesNothing()
    {
        Window w;
        w.compare(example("sessions.csv"));
        auto *sessions = w.find<QComboBox>(QStringLiteral("SesionComparacion"));
        QVERIFY(sessions->isVisible() && sessions->count() > 1);
        const QString missing = w.dir.filePath(QStringLiteral("no such log.csv"));
        w.compare(missing);
        QCOMPARE(w.messages, QStringList{LogReader::read(missing).error});
        QVERIFY(w.tab()->comparison());

        sessions->setCurrentIndex(1);
        emit sessions->activated(1);
        QCOMPARE(w.form.state().comparison.session(), 2);
        QCOMPARE(w.tab()->comparison()->table().rowCount(),
                 w.form.state().comparison.sessions()[1].rows);

        w.open(example("diesel.csv"));
        QVERIFY(!w.tab()->comparison() && !w.form.state().comparison.isOpen());
    }
};

QTEST_MAIN(TestAnalysisPower)
#include "test_analysispower.moc"
