// The import of readings from meters and portals and the backups: both
// change the user's files, and the month on screen follows what they wrote.
#include <QAction>
#include <QFileInfo>

#include "dialogs/backupcommands.h"
#include "dialogs/importdialog.h"
#include "mainform.h"
#include "monthcommands.h"
#include "platform/convert.h"
#include "platform/ui.h"
#include "program.h"
#include "wiring.h"

namespace {

// After a restore the settings, the month tables and the diaries may all be
// others: the user, the measure mode, the unit and the current month are
// taken from the restored settings and the month is read again with its diary.
void showRestored(Program &p) {
    MonthModel &model = p.model;
    const SettingsStore st = model.settings();
    ui::guarded(p.ui, [&] { model.setModeTicks(st.flag(keys::BisZu4), st.flag(keys::BisZu8)); });
    model.restoreUnit();
    const QString name = st.get(keys::BenutzerName);
    model.setUserName(name);
    const QString table = st.get(keys::TabellenDateiName);
    if (!table.isEmpty() && QFileInfo(table).isFile()) {
        model.open(table);
    } else {
        model.close();
        p.mainForm().showUserName(name);
    }
}

} // namespace

ImportDialog *makeImportDialog(Program &p) {
    auto *dlg = new ImportDialog(p.model, p.ui, &p.mainForm());
    Program *program = &p;
    QObject::connect(dlg, &ImportDialog::imported, &p.commands(),
                     [program](const QString &newest) { program->commands().monthSaved(newest); });
    return dlg;
}

BackupCommands *makeBackupCommands(Program &p) {
    auto *b = new BackupCommands(p.ui, p.model.folders(), p.model.settings(), &p.mainForm());
    Program *program = &p;
    QObject::connect(b, &BackupCommands::restored, &p.mainForm(),
                     [program] { showRestored(*program); });
    return b;
}

void wireFiles(Program &p) {
    Program *program = &p;
    const MainMenu &m = p.mainForm().menu();
    ui::onTriggered(m.MesswerteausDatei1, &p.mainForm(), p.ui,
                    [program] { program->importDialog().start(&program->mainForm()); });
    ui::onTriggered(m.Sicherungerstellen1, &p.mainForm(), p.ui,
                    [program] { program->backups().SicherungErstellen(); });
    ui::onTriggered(m.Sicherungwiederherstellen1, &p.mainForm(), p.ui, [program] {
        // A changed diary page is offered for storing first: written later it
        // would replace the restored diary.
        if (!program->mainForm().leaveMonth()) return;
        program->backups().SicherungWiederherstellen();
    });
}
