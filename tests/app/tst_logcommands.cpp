#include "tst_logcommands.h"

#include "tchart.h"
#include "testsupport.h"
#include "tfiledialogs.h"
#include "tformmain.h"
#include "tglodrikapplication.h"
#include "tlinkconnection.h"
#include "tlivelogs.h"
#include "tmessagebox.h"
#include "tprocessimage.h"
#include "ttransaction.h"
#include "ui_tformmain.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList shown; // message boxes and error boxes, in order
QString chosenFile;
QStringList filtersAtOpen;
std::function<void(const QString&, const QString&)> previousErrorBox;

const QString kSaveFilter = QStringLiteral("*.Log|*.Log|*.Seq|*.Seq|AllFiles *.*|*.*");
const QString kOpenFilter = QStringLiteral("*.Log|*.Log|*Seq|*.Seq|AllFiles *.*|*.*");
const QString kProgramFilter = QStringLiteral("Hexfiles (*.Hex)|*.Hex");

void SetPoint(TFormMain& form, const char* title, int value) {
    form.Image().Point(QString::fromUtf8(title))->UpdateWithNoEvent(value);
}

QList<double> Column(const TChartSeries* series) {
    QList<double> values;
    for (int i = 0; i < series->Count(); ++i)
        values << series->YValue(i);
    return values;
}

QList<QList<double>> Columns(const QList<TChartSeries*>& series) {
    QList<QList<double>> columns;
    for (const TChartSeries* one : series)
        columns << Column(one);
    return columns;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

void TestLogCommands::init() {
    shown.clear();
    chosenFile.clear();
    filtersAtOpen.clear();
    TMessageBox::Override = [](TMessageBox::TKind, const QString& text, bool) {
        shown << text;
        return true;
    };
    TFileDialog::ExecuteOverride = [](TFileDialog& dialog) {
        filtersAtOpen << dialog.Filter + QStringLiteral(" [") + dialog.FileName + u']';
        dialog.FileName = chosenFile;
        return !chosenFile.isEmpty();
    };
    previousErrorBox = TGlodrikApplication::ErrorBox;
    TGlodrikApplication::ErrorBox = [](const QString&, const QString& text) {
        shown << QStringLiteral("error box: ") + text;
    };
}

void TestLogCommands::cleanup() {
    TMessageBox::Override = nullptr;
    TFileDialog::ExecuteOverride = nullptr;
    TPrintDialog::ExecuteOverride = nullptr;
    TGlodrikApplication::ErrorBox = previousErrorBox;
    TFormMain::Now = [] { return QDateTime::currentDateTime(); };
}

void TestLogCommands::tickSamplesInOrder_data() {
    QTest::addColumn<int>("integrator");
    QTest::addColumn<double>("plotted");
    QTest::newRow("positive") << 1200 << 1200.0;
    QTest::newRow("65535 is -1") << 65535 << -1.0;
    QTest::newRow("32768 is the lowest") << 32768 << -32768.0;
    QTest::newRow("only the low 16 bits") << 0x1FFFE << -2.0;
    QTest::newRow("never received") << 0 << 0.0;
}

void TestLogCommands::tickSamplesInOrder() {
    QFETCH(int, integrator);
    QFETCH(double, plotted);
    TFormMain form;
    Ui::TFormMain& ui = form.Form();
    SetPoint(form, "Temperatur", 612);
    SetPoint(form, "Matning", 45);
    SetPoint(form, "IntegratorIntern", integrator);
    SetPoint(form, "TermoState", 2); // plotted as it is, outside its band
    SetPoint(form, "FotoState", 1);
    SetPoint(form, "Out1", 1 << 3); // screw on, rotor off
    SetPoint(form, "Out2", 1 << 1); // damper on
    SetPoint(form, "PortC", 1 << 2 | 1 << 5);
    TTransaction& transaction = form.Link().Transaction();
    transaction.FotoProcent = 35;
    transaction.FreqCount = 12;
    ui.CheckBoxLoggaTemp->setChecked(true);
    ui.CheckBoxLoggaState->setChecked(true);

    form.Timer1Timer();

    using Columns = QList<QList<double>>;
    QCOMPARE(::Columns(form.Logs().TemperatureSeries()), (Columns{{612}, {45}, {plotted}, {35}}));
    QCOMPARE(::Columns(form.Logs().SequenceSeries()), (Columns{{2}, {1}, {1}, {0}, {1}, {1}}));
    QCOMPARE(ui.LabelFotoProcent->text(), QStringLiteral("35%"));
    QCOMPARE(ui.LabelFreq->text(), QStringLiteral("12 Hz"));
    QCOMPARE(transaction.FreqCount, 0);
    QCOMPARE(transaction.FotoProcent, 35); // kept for the next block
}

void TestLogCommands::tickWithoutLoggingRefreshesLabels() {
    TFormMain form;
    Ui::TFormMain& ui = form.Form();
    TTransaction& transaction = form.Link().Transaction();
    for (int rate : {9, 0, 14}) {
        transaction.FreqCount = rate;
        transaction.FotoProcent = rate * 5;
        form.Timer1Timer();
        QCOMPARE(ui.LabelFreq->text(), QString::number(rate) + QStringLiteral(" Hz"));
        QCOMPARE(ui.LabelFotoProcent->text(), QString::number(rate * 5) + u'%');
        QCOMPARE(transaction.FreqCount, 0);
    }
    for (const TChartSeries* series :
         form.Logs().TemperatureSeries() + form.Logs().SequenceSeries())
        QCOMPARE(series->Count(), 0);
}

void TestLogCommands::eraseAndPauseKeepIndicesContiguous() {
    TFormMain form;
    Ui::TFormMain& ui = form.Form();
    const TChartSeries* temp = form.Logs().TemperatureSeries().constFirst();
    const TChartSeries* termostat = form.Logs().SequenceSeries().constFirst();
    ui.CheckBoxLoggaTemp->setChecked(true);
    ui.CheckBoxLoggaState->setChecked(true);
    ui.MemoTemp->setPlainText(QStringLiteral("kvar"));
    for (int i = 0; i < 3; ++i)
        form.Timer1Timer();
    ui.Chart1->xAxis->setRange(1, 2); // the user zoomed
    QTest::mouseClick(ui.ButtonRaderaTemp, Qt::LeftButton);
    QCOMPARE(temp->Count(), 0);
    QCOMPARE(termostat->Count(), 3); // the other log is left alone
    QVERIFY(!ui.Chart1->Zoomed());
    QCOMPARE(ui.MemoTemp->toPlainText(), QStringLiteral("kvar"));
    QVERIFY(ui.CheckBoxLoggaTemp->isChecked());
    form.Timer1Timer();
    ui.Chart1->replot();
    QCOMPARE(temp->Graph()->data()->size(), 1);
    QCOMPARE(temp->Graph()->data()->at(0)->key, 0.0);

    // A pause leaves no gap.
    ui.CheckBoxLoggaState->setChecked(false);
    form.Timer1Timer();
    form.Timer1Timer();
    ui.CheckBoxLoggaState->setChecked(true);
    form.Timer1Timer();
    QCOMPARE(termostat->Count(), 5);
    ui.Chart2->replot();
    QCOMPARE((termostat->Graph()->data()->constEnd() - 1)->key, 4.0); // the last point drawn

    QTest::mouseClick(ui.ButtonRaderaState, Qt::LeftButton);
    QCOMPARE(termostat->Count(), 0);
}

void TestLogCommands::savesTheKnownFileByteForByte() {
    LocaleScope swedish(SwedishLocale());
    TFormMain form;
    Ui::TFormMain& ui = form.Form();
    TFormMain::Now = [] { return QDateTime(QDate(2003, 5, 14), QTime(13, 45, 10)); };
    SetPoint(form, "T1", 915);
    SetPoint(form, "EEMaxtid", 180);
    ui.MemoTemp->setPlainText(QStringLiteral("Ny skruv monterad"));
    const QList<TChartSeries*>& series = form.Logs().TemperatureSeries();
    for (const QList<double>& row : {QList<double>{612, 45, -12, 35}, {613, 45, -10, 35}})
        for (int i = 0; i < 4; ++i)
            series[i]->AddY(row[i]);
    QTemporaryDir folder;
    chosenFile = folder.filePath(QStringLiteral("prov.Log"));

    QTest::mouseClick(ui.ButtonSaveTempLoggToFile, Qt::LeftButton);

    QCOMPARE(shown, QStringList());
    QCOMPARE(filtersAtOpen, QStringList{QStringLiteral("TemperaturLogg(*.Log)|*.Log []")});
    const QStringList keys = {"T1 = 59,96544",
                              "T2 = 0",
                              "T2B = 0",
                              "T3 = 0",
                              "T4 = 0",
                              "Periodtid = 0",
                              "T7 = 0",
                              "T8 = 0",
                              "VMax = 0",
                              "VTill = 0",
                              "Reduceringstid = 0",
                              "N_FelInnanLarm = 0",
                              "TempSet = 0",
                              "PulsKvotMax = 0",
                              "PulsKvotMin = 0",
                              "Reduceringsprocent = 0",
                              "DriftTid = 0",
                              "DriftGrans = 0",
                              "PT = 0",
                              "PN = 0",
                              "Integrator = 0",
                              "LarmMask = 0",
                              "LarmTemp = 0",
                              "MaxTid = 180"};
    QByteArray expected = "!;Datum:2003-05-14 13:45:10\r\n!;Kolvo Version:\r\n![Parametrar]\r\n";
    for (const QString& key : keys)
        expected += "!" + key.toLatin1() + "\r\n";
    expected += "#Ny skruv monterad\r\n612;45;-12;35\r\n613;45;-10;35\r\n";
    QCOMPARE(FileBytes(chosenFile), expected);
    QCOMPARE(form.SaveDialog1->Filter, kSaveFilter);
}

void TestLogCommands::saveThenReadRestoresLogAndText() {
    LocaleScope swedish(SwedishLocale());
    TFormMain form;
    Ui::TFormMain& ui = form.Form();
    const QString text = QString::fromUtf8("Första raden\n#börjar med brädgård\n!som ett huvud\n\n"
                                           "efter en tom rad; med semikolon\n");
    struct Log {
        QPlainTextEdit* Memo;
        QList<TChartSeries*> Series;
        QPushButton* Save;
        QPushButton* Read;
    };
    const Log logs[] = {
        {ui.MemoTemp, form.Logs().TemperatureSeries(), ui.ButtonSaveTempLoggToFile,
         ui.ButtonGetTempLoggFromFile},
        {ui.MemoState, form.Logs().SequenceSeries(), ui.ButtonSaveStateLoggToFile,
         ui.ButtonGetStateLoggFromFile},
    };
    QTemporaryDir folder;
    int n = 0;
    for (const Log& log : logs) {
        log.Memo->setPlainText(text);
        for (int i = 0; i < 50; ++i)
            for (int s = 0; s < log.Series.size(); ++s)
                log.Series[s]->AddY(s == 0 ? 600.25 + i * 0.125 : (i * 7 + s) % 3 - 1);
        const auto written = Columns(log.Series);
        chosenFile = folder.filePath(QStringLiteral("log%1").arg(++n));
        QTest::mouseClick(log.Save, Qt::LeftButton);
        for (TChartSeries* series : log.Series)
            series->Clear();
        log.Memo->setPlainText(QStringLiteral("skrivs över"));

        QTest::mouseClick(log.Read, Qt::LeftButton);
        QCOMPARE(shown, QStringList());
        QCOMPARE(Columns(log.Series), written);
        QCOMPARE(log.Memo->toPlainText(), text);
    }
}

void TestLogCommands::dialogFiltersComeBackOnEveryWayOut() {
    TFormMain form;
    Ui::TFormMain& ui = form.Form();
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("finns inte.Log"));
    const QString badTarget = folder.path(); // a folder cannot become a log file
    struct Way {
        QPushButton* Button;
        QString File;
        QString Filter;
    };
    const QString temp = QStringLiteral("TemperaturLogg(*.Log)|*.Log");
    const QString state = QStringLiteral("SekvensLogg(*.Seq)|*.Seq");
    const Way ways[] = {
        {ui.ButtonSaveTempLoggToFile, QString(), temp},
        {ui.ButtonSaveStateLoggToFile, badTarget, state},
        {ui.ButtonGetTempLoggFromFile, missing, temp},
        {ui.ButtonGetStateLoggFromFile, QString(), state},
    };
    for (const Way& way : ways) {
        filtersAtOpen.clear();
        chosenFile = way.File;
        form.SaveDialog1->FileName = QStringLiteral("förra");
        form.OpenDialog2->FileName = QStringLiteral("förra");
        QTest::mouseClick(way.Button, Qt::LeftButton);
        QCOMPARE(filtersAtOpen, QStringList{way.Filter + QStringLiteral(" []")});
        QCOMPARE(form.SaveDialog1->Filter, kSaveFilter);
        QCOMPARE(form.OpenDialog2->Filter, kOpenFilter);
    }
    QCOMPARE(shown.size(), 2); // the failed save and the failed read
    chosenFile.clear();
    ui.LaddaParametrar1->trigger();
    QCOMPARE(filtersAtOpen.constLast(), QStringLiteral("Parameterfil(*.Txt)|*.Txt []"));
    QCOMPARE(form.OpenDialog1->Filter, kProgramFilter);
}

void TestLogCommands::unreadableFileLeavesTheLog() {
    TFormMain form;
    Ui::TFormMain& ui = form.Form();
    ui.CheckBoxLoggaTemp->setChecked(true);
    SetPoint(form, "Temperatur", 640);
    for (int i = 0; i < 4; ++i)
        form.Timer1Timer();
    ui.MemoTemp->setPlainText(QStringLiteral("osparad logg"));
    const auto before = Columns(form.Logs().TemperatureSeries());
    QTemporaryDir folder;
    chosenFile = folder.filePath(QStringLiteral("saknas.Log"));

    QTest::mouseClick(ui.ButtonGetTempLoggFromFile, Qt::LeftButton);

    QCOMPARE(shown,
             QStringList{QStringLiteral("error box: Cannot open file ") + chosenFile + u'.'});
    QCOMPARE(Columns(form.Logs().TemperatureSeries()), before);
    QCOMPARE(ui.MemoTemp->toPlainText(), QStringLiteral("osparad logg"));
}

void TestLogCommands::badRowStopsReadingAfterReplacingTheLog() {
    LocaleScope point(PointLocale());
    TFormMain form;
    Ui::TFormMain& ui = form.Form();
    ui.MemoState->setPlainText(QStringLiteral("gammal"));
    form.Logs().SequenceSeries().constFirst()->AddY(9);
    ui.Chart2->xAxis->setRange(3, 4);
    QTemporaryDir folder;
    chosenFile = folder.filePath(QStringLiteral("svensk.Seq"));
    WriteFile(chosenFile, "!;Datum:x\r\n#ny\r\n1;0;1;0;1;0\r\n0;1;0,5;1;0;1\r\n1;1;1;1;1;1\r\n");

    QTest::mouseClick(ui.ButtonGetStateLoggFromFile, Qt::LeftButton);

    QCOMPARE(shown,
             QStringList{QStringLiteral("error box: '0,5' is not a valid floating point value.")});
    using Columns = QList<QList<double>>;
    QCOMPARE(::Columns(form.Logs().SequenceSeries()),
             (Columns{{1, 0}, {0, 1}, {1}, {0}, {1}, {0}}));
    QCOMPARE(ui.MemoState->toPlainText(), QStringLiteral("ny"));
    QVERIFY(!ui.Chart2->Zoomed());
}

void TestLogCommands::failedSaveLeavesTheEarlierFile() {
    TFormMain form;
    Ui::TFormMain& ui = form.Form();
    QTemporaryDir folder;
    // Where the new file would have to go, a folder stands in the way.
    chosenFile = folder.filePath(QStringLiteral("upptagen.Log"));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("upptagen.Log")));
    QTest::mouseClick(ui.ButtonSaveTempLoggToFile, Qt::LeftButton);
    QCOMPARE(shown,
             QStringList{QStringLiteral("error box: Cannot create file ") + chosenFile + u'.'});
    QVERIFY(QFileInfo(chosenFile).isDir());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList()); // no fragment

    // A save over an earlier file replaces it without a question.
    shown.clear();
    chosenFile = folder.filePath(QStringLiteral("förra.Log"));
    WriteFile(chosenFile, "förra\r\n");
    form.Logs().TemperatureSeries().constFirst()->AddY(1);
    QTest::mouseClick(ui.ButtonSaveTempLoggToFile, Qt::LeftButton);
    QCOMPARE(shown, QStringList());
    QVERIFY(FileBytes(chosenFile).startsWith("!;Datum:"));
}

void TestLogCommands::printingFollowsTheDialog() {
    TFormMain form;
    Ui::TFormMain& ui = form.Form();
    form.resize(1000, 700);
    QTemporaryDir folder;
    for (bool confirm : {false, true}) {
        const QString pdf =
            folder.filePath(confirm ? QStringLiteral("ja.pdf") : QStringLiteral("nej.pdf"));
        int asked = 0;
        TPrintDialog::ExecuteOverride = [&](QPrinter& printer) {
            ++asked;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return confirm;
        };
        QTest::mouseClick(confirm ? ui.ButtonSkrivUtState : ui.ButtonSkrivUtTemp, Qt::LeftButton);
        QCOMPARE(asked, 1);
        QCOMPARE(QFileInfo::exists(pdf), confirm);
    }
    QCOMPARE(shown, QStringList());
}

void TestLogCommands::copyPutsTheChartOnTheClipboard() {
    TFormMain form;
    Ui::TFormMain& ui = form.Form();
    form.resize(1000, 700);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (auto [button, chart] :
         {std::pair{ui.ButtonCopyTemp, ui.Chart1}, std::pair{ui.ButtonCopyState, ui.Chart2}}) {
        ui.PageControl1->setCurrentWidget(chart == ui.Chart1 ? ui.TabSheet4 : ui.TabSheet3);
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(button, Qt::LeftButton);
        const QImage image = QGuiApplication::clipboard()->image();
        QCOMPARE(image.size(), chart->size() * chart->devicePixelRatioF());
    }
}

void TestLogCommands::loadsParameterFile() {
    LocaleScope swedish(SwedishLocale());
    TFormMain form;
    TZuIO* maxTid = form.Image().Point(QStringLiteral("EEMaxtid"));
    TZuIO* t1 = form.Image().Point(QStringLiteral("T1"));
    TZuIO* larmMask = form.Image().Point(QStringLiteral("LarmMask"));
    maxTid->UpdateWithNoEvent(200);
    QTemporaryDir folder;
    chosenFile = folder.filePath(QStringLiteral("param.Txt"));
    WriteFile(chosenFile, "[Annat]\r\nT1=1\r\n[PARAMETRAR]\r\n t1 = 0,5 \r\nmaxtid=200\r\n"
                          "LarmMask=0x1F\r\nLarmMask=7\r\n");

    form.Form().LaddaParametrar1->trigger();

    QCOMPARE(shown, QStringList());
    QCOMPARE(t1->Value(), 7);
    QCOMPARE(larmMask->Value(), 31);
    QCOMPARE(maxTid->Value(), 200);
    // Changed points wait for the link; an unchanged one sends nothing.
    QVERIFY(t1->WriteRequest);
    QVERIFY(larmMask->WriteRequest);
    QVERIFY(!maxTid->WriteRequest);
    QCOMPARE(form.OpenDialog1->Filter, kProgramFilter);
}

void TestLogCommands::missingParameterFileIsAnnounced() {
    TFormMain form;
    QTemporaryDir folder;
    chosenFile = folder.filePath(QStringLiteral("ny.Txt"));
    form.Form().LaddaParametrar1->trigger();
    QCOMPARE(shown, QStringList{QStringLiteral("Skapar ") + chosenFile});
    QVERIFY(!QFileInfo::exists(chosenFile));
    for (const TZuIO* point : form.Image().Points())
        QVERIFY(!point->WriteRequest);
}
