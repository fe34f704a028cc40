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
#include "program.h"
#include "storage/monthtable.h"
#include "wiring.h"

void wireGraph(Program &p) {
    TMainForm *mf = p.MainForm;
    GraphWidgets w;
    w.image = mf->Image;
    w.legend = mf->M_einheit_Image;
    w.meanImage = mf->MittelwertImage;
    w.title = mf->Label1;
    w.status = mf->StatusLabel;
    w.hscroll = mf->formScroll->horizontalScrollBar();
    w.window = mf;
    auto *graph = new TMonthGraph(w);
    p.MonthGraph = graph;

    TMonthGraph::Callbacks &cb = graph->callbacks;
    Program *program = &p;
    cb.attachTable = [program](const QString &path) { attachTable(*program, path); };
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

    // Scrolling keeps legend, time strip, mean caption and title in place.
    QObject::connect(w.hscroll, &QScrollBar::valueChanged, mf, [graph] {
        if (appState().GraphShown) graph->pinAfterScroll(true);
    });
    for (int key : {int(Qt::Key_Right), int(Qt::Key_Left)}) {
        auto *sc = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(key)), mf);
        QObject::connect(sc, &QShortcut::activated, mf,
                         [graph, key] { graph->FormKeyDown(key, Qt::ControlModifier); });
    }
    // Pointer readout over the graph and the pictures laid on it: all lie in
    // the graph's scroll box, so a point maps through it into the graph.
    for (PictureBox *box : {mf->Image, mf->M_einheit_Image, mf->MittelwertImage, mf->Pfeilimage})
        QObject::connect(box, &PictureBox::mouseMoved, mf, [graph, box, mf](QPoint pos) {
            graph->FormMouseMove(box->mapTo(mf->ScrollBox1, pos) - mf->Image->pos());
        });
}
