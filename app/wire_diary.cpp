#include <QAction>
#include <QPainter>
#include <QPolygon>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>

#include "dialogs/einstelldlg.h"
#include "diary/diarypage.h"
#include "mainform.h"
#include "program.h"
#include "wiring.h"

void wireDiary(Program &p) {
    TMainForm *mf = p.MainForm;
    DiaryPageControls c;
    c.editor = mf->RichEdit1;
    c.arrow = mf->Pfeilimage;
    c.deleteEntry = mf->menuAction(QStringLiteral("DatenaktuellerTagebucheintraglschen1"));
    c.printEntry = mf->menuAction(QStringLiteral("AllegespeichertenTagebuchseitendrucken1"));
    c.scrollPosition = [mf] { return mf->formScroll->horizontalScrollBar()->value(); };
    c.setScrollPosition = [mf](int v) { mf->formScroll->horizontalScrollBar()->setValue(v); };
    c.windowWidth = [mf] { return mf->width(); };
    c.options = [mf] { return mf->options(); };
    c.resize = [mf] { mf->FormResize(); };
    // The marker of the selected day: an arrow one day column wide.
    if (mf->Pfeilimage->picture().isNull()) {
        QImage arrow(48, 12, QImage::Format_ARGB32);
        arrow.fill(Qt::transparent);
        QPainter painter(&arrow);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(200, 0, 0));
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(QPolygon({QPoint(14, 0), QPoint(34, 0), QPoint(24, 11)}));
        painter.end();
        mf->Pfeilimage->setPicture(arrow);
        mf->Pfeilimage->resize(arrow.size());
    }
    mf->Pfeilimage->raise();
    auto *page = new DiaryPage(c, mf);
    p.diaryPage = page;

    // A click on the graph, any button, selects the day under it.
    QObject::connect(mf->Image, &PictureBox::mousePressed, page,
                     [mf, page](QPoint pos, Qt::MouseButton) {
                         page->FormMouseDown(mf->Image->mapTo(mf, pos).x());
                     });
    mf->hooks.reselectDay = [page] { page->MacheinenKlickAufGrafik(); };
    mf->hooks.closeDiary = [page] { return page->closeDiary(); };
    mf->hooks.attachDiary = [page](const QString &table) { page->attachBook(table); };
    // Settings dialog: the home of the options the main window reads.
    auto *dlg = new TEinstellDlg(mf->state().SettingsPath, mf);
    p.EinstellDlg = dlg;
    mf->setOptionControls(dlg);
    dlg->callbacks.redraw = [mf] { mf->redrawMonth(); };
    dlg->callbacks.applyDiary = [mf](bool visible) {
        mf->menuAction(QStringLiteral("AllegespeichertenTagebuchseitendrucken1"))
            ->setEnabled(visible);
        mf->RichEdit1->setVisible(visible);
        mf->Pfeilimage->setVisible(visible && mf->state().CurrentPageDay > 0);
        mf->resize(mf->width(), visible ? 780 : 590);
    };

    auto previous = mf->hooks.command;
    mf->hooks.command = [page, dlg, previous](const QString &name) {
        if (name == QStringLiteral("Einstellungen")) {
            dlg->EinstellungenClick();
            return true;
        }
        if (name == QStringLiteral("DatenaktuellerTagebucheintraglschen1")) {
            page->DatenaktuellerTagebucheintraglschen1Click();
            return true;
        }
        return previous ? previous(name) : false;
    };
}
