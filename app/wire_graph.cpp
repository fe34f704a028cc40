#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTextEdit>

#include "dialogs/readonlydlg.h"
#include "entry/eingabedlg.h"
#include "graph/monthgraph.h"
#include "mainform.h"
#include "platform/textfile.h"
#include "program.h"
#include "storage/monthtable.h"
#include "wiring.h"

namespace {

// Attaching a table chosen for a new month or an opened table: store it as
// the last table and load its diary.
void attachTable(TMainForm *mf, const QString &path) {
    AppState &s = mf->state();
    const SettingsStore st = mf->settings();
    s.CurrentTablePath = path;
    if (path.isEmpty()) return;
    st.set(keys::TabellenDateiName, path);
    const QString back = st.get(keys::TabellenDateiName);
    QAction *book = mf->menuAction(QStringLiteral("AllegespeichertenTagebuchseitendrucken1"));
    if (QFileInfo(back).isFile() &&
        QFileInfo(back).fileName().contains(QStringLiteral(".tab"), Qt::CaseInsensitive)) {
        s.DiaryPath = monthtable::diaryPathOf(back);
        if (book) book->setEnabled(true);
        QString text;
        if (QFileInfo(s.DiaryPath).isFile() && textfile::readText(s.DiaryPath, text))
            mf->Memo2->setPlainText(text);
    } else {
        if (book) book->setEnabled(false);
        mf->Memo2->clear();
        mf->RichEdit1->clear();
    }
}

} // namespace

void wireGraph(Program &p) {
    TMainForm *mf = p.MainForm;
    GraphWidgets w;
    w.image = mf->Image;
    w.legend = mf->M_einheit_Image;
    w.meanImage = mf->MittelwertImage;
    w.title = mf->Label1;
    w.status = mf->StatusLabel;
    w.memo = mf->Memo1;
    w.hscroll = mf->formScroll->horizontalScrollBar();
    w.window = mf;
    auto *graph = new TMonthGraph(w);
    p.MonthGraph = graph;

    TMonthGraph::Callbacks &cb = graph->callbacks;
    cb.attachTable = [mf](const QString &path) { attachTable(mf, path); };
    cb.showReadonlyNotice = [mf] {
        if (mf->readonlyDlg()) mf->readonlyDlg()->exec();
    };
    cb.openForEditing = [mf] {
        if (QAction *a = mf->menuAction(QStringLiteral("undTabellebearbeiten1"))) a->trigger();
    };
    cb.formResize = [mf] { mf->FormResize(); };
    cb.reselectDay = [mf] {
        if (mf->hooks.reselectDay) mf->hooks.reselectDay();
    };
    if (TEingabeDlg *entry = p.EingabeDlg) {
        cb.setEntryYear = [entry](const QString &y) { entry->SpinEdit3->setFieldText(y); };
        cb.setEntryMonth = [entry](const QString &m) { entry->SpinEdit2->setFieldText(m); };
        cb.clearEntryList = [entry] { entry->clearEntries(); };
        cb.addEntry = [entry](const QString &line) { entry->appendEntry(line); };
    }

    mf->hooks.repinGraph = [graph] { graph->pinAfterScroll(true); };
    mf->hooks.drawMonth = [graph](const QString &path) { graph->GrafikZeichnen(path); };
    if (!mf->hooks.redrawThroughEntry)
        mf->hooks.redrawThroughEntry = [graph] {
            graph->GrafikZeichnen(appState().CurrentTablePath);
        };

    // Scrolling keeps legend, time strip, mean caption and title in place.
    QObject::connect(w.hscroll, &QScrollBar::valueChanged, mf, [graph] {
        if (appState().GraphShown) graph->pinAfterScroll(true);
    });
    for (int key : {int(Qt::Key_Right), int(Qt::Key_Left)}) {
        auto *sc = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(key)), mf);
        QObject::connect(sc, &QShortcut::activated, mf,
                         [graph, key] { graph->FormKeyDown(key, Qt::ControlModifier); });
    }
    // Pointer readout over the graph and the pictures laid on it.
    for (PictureBox *box : {mf->Image, mf->M_einheit_Image, mf->MittelwertImage})
        QObject::connect(box, &PictureBox::mouseMoved, mf, [graph, box, mf](QPoint pos) {
            graph->FormMouseMove(box->mapTo(mf->Image, pos));
        });
}
