// The month commands of the main menu, the entry dialog and the user-name
// dialog.
#include <QAction>

#include "dialogs/nameeingdlg.h"
#include "entry/eingabedlg.h"
#include "mainform.h"
#include "monthcommands.h"
#include "platform/ui.h"
#include "program.h"
#include "wiring.h"

void wireMonthCommands(Program &p) {
    MonthCommands *cmds = &p.commands();
    const MainMenu &m = p.mainForm().menu();
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
    TMainForm *mf = &p.mainForm();
    QObject::connect(mf, &TMainForm::userNameMissing, cmds, &MonthCommands::askUserNameAtStartup);
    QObject::connect(mf, &TMainForm::unreadableTable, cmds, &MonthCommands::unreadableTable);
}

TEingabeDlg *makeEntryDialog(Program &p) {
    auto *entry = new TEingabeDlg(p.model, p.ui, &p.mainForm());
    MonthCommands *cmds = &p.commands();
    const MonthModel *model = &p.model;
    // The list follows the month as read, unless readings typed into it are
    // not saved yet.
    entry->showMonth();
    QObject::connect(model, &MonthModel::monthChanged, entry, &TEingabeDlg::showMonth);
    QObject::connect(model, &MonthModel::modeChanged, entry, &TEingabeDlg::showMode);
    QObject::connect(model, &MonthModel::unitChanged, entry, &TEingabeDlg::showUnit);
    QObject::connect(entry, &TEingabeDlg::monthSaved, cmds, &MonthCommands::monthSaved);
    QObject::connect(entry, &TEingabeDlg::closedAfterGraph, &p.mainForm(), &TMainForm::FormResize);
    QObject::connect(entry, &TEingabeDlg::tableRequested, cmds,
                     [cmds](const QString &text) { emit cmds->tableWindowRequested(text, false); });
    return entry;
}

TNameEingDlg *makeNameDialog(Program &p) {
    auto *nameDlg = new TNameEingDlg(p.model, p.ui, &p.mainForm());
    nameDlg->FormCreate();
    MonthCommands *cmds = &p.commands();
    QObject::connect(nameDlg, &TNameEingDlg::nameAccepted, cmds, &MonthCommands::nameAccepted);
    QObject::connect(nameDlg, &TNameEingDlg::quitRequested, &p.mainForm(),
                     &TMainForm::endWithoutStoring);
    return nameDlg;
}
