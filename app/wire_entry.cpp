// The entry dialog, the user-name dialog and the month commands of the main
// window that open, show, edit or start a month table.
#include <QAction>

#include "dialogs/headerdlg.h"
#include "dialogs/namedlg.h"
#include "entry/eingabedlg.h"
#include "mainform.h"
#include "monthcommands.h"
#include "platform/ui.h"
#include "program.h"
#include "wiring.h"

void wireEntry(Program &p) {
    TMainForm *mf = p.MainForm;
    auto *entry = new TEingabeDlg(p.session, p.ui, mf);
    auto *nameDlg = new TNameEingDlg(p.session, p.ui, mf);
    p.EingabeDlg = entry;
    p.NameEingDlg = nameDlg;
    p.HeaderBearbeitenDlg = new THeaderBearbeitenDlg(p.ui, mf);
    auto *cmds = new MonthCommands(p.session, p.ui, *mf, *entry, *nameDlg, mf);
    p.commands = cmds;
    entry->FormCreate();
    nameDlg->FormCreate();

    // The menu entries of the month commands.
    const MainMenu &m = mf->menu;
    auto on = [&p, cmds](QAction *a, void (MonthCommands::*command)()) {
        ui::onTriggered(a, cmds, p.ui, [cmds, command] { (cmds->*command)(); });
    };
    on(m.undalsGrafikanzeigen1, &MonthCommands::undalsGrafikanzeigen1Click);
    on(m.undTabelleanzeigen1, &MonthCommands::undTabelleanzeigen1Click);
    on(m.undTabellebearbeiten1, &MonthCommands::undTabellebearbeiten1Click);
    on(m.anzeigen1, &MonthCommands::anzeigen1Click);
    on(m.aktuellebearbeiten1, &MonthCommands::aktuellebearbeiten1Click);
    on(m.neuerstellen1, &MonthCommands::neuerstellen1Click);
    on(m.NeuerstellenneuerMonatoderJahr1, &MonthCommands::neuerstellen1Click);
    on(m.Benutzernamendern1, &MonthCommands::Benutzernamendern1Click);

    // The main window: the user at the first paint, the month drawn, the mode.
    QObject::connect(mf, &TMainForm::userNameMissing, cmds, &MonthCommands::askUserNameAtStartup);
    QObject::connect(mf, &TMainForm::userNameKnown, entry, [entry](const QString &name) {
        entry->Label4->setText(QStringLiteral("Messwerte von ") + name);
    });
    QObject::connect(mf, &TMainForm::monthDrawn, cmds, &MonthCommands::fillEntryList);
    QObject::connect(mf, &TMainForm::measureModeChanged, entry, &TEingabeDlg::LiesUhrzeitenEin);
    QObject::connect(mf, &TMainForm::unreadableTable, cmds, &MonthCommands::unreadableTable);

    // The entry dialog's save buttons.
    QObject::connect(entry, &TEingabeDlg::drawRequested, cmds, &MonthCommands::drawFromEntry);
    QObject::connect(entry, &TEingabeDlg::closedAfterGraph, cmds,
                     &MonthCommands::afterGraphFromEntry);
    QObject::connect(entry, &TEingabeDlg::tableRequested, cmds, &MonthCommands::tableFromEntry);

    // The user-name dialog.
    QObject::connect(nameDlg, &TNameEingDlg::nameAccepted, cmds, &MonthCommands::nameAccepted);
    QObject::connect(nameDlg, &TNameEingDlg::storedTableOfName, mf, &TMainForm::drawMonth);
    QObject::connect(nameDlg, &TNameEingDlg::newMonthRequested, cmds,
                     &MonthCommands::neuerstellen1Click);
    QObject::connect(nameDlg, &TNameEingDlg::quitRequested, mf, &TMainForm::endWithoutStoring);
}
