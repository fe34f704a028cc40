// The entry dialog, the user-name and header dialogs and the month commands
// of the main window that open, show, edit or start a month table.
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

#include "dialogs/headerdlg.h"
#include "dialogs/namedlg.h"
#include "diary/diarypage.h"
#include "entry/eingabedlg.h"
#include "mainform.h"
#include "platform/german.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "program.h"
#include "platform/convert.h"
#include "storage/monthtable.h"
#include "wiring.h"

namespace {

struct MonthCommands {
    Program *program;
    TMainForm *mf;
    TEingabeDlg *entry;
    TNameEingDlg *nameDlg;

    AppState &s() const { return mf->state(); }
    SettingsStore st() const { return mf->settings(); }

    // The open dialog in the data folder, month tables first.
    QString chooseFile() const {
        return ui::services().openFileName(mf, QStringLiteral("Öffnen"),
                                           s().DataFolder + QStringLiteral("*.tab"),
                                           QStringLiteral("Glykovalin-Tabellen (*.tab);;"
                                                          "Alle Dateien (*.*)"));
    }

    bool attach(const QString &file) const { return attachTable(*program, file); }

    void applyMode(const QString &table) const {
        const SettingsStore header(table);
        const QString sec = monthtable::kSection;
        const bool four = convert::flag(header.read(sec, keys::BisZu4));
        const bool eight = convert::flag(header.read(sec, keys::BisZu8));
        if (four || eight)
            mf->applyModeTicks(four, eight);
        else {
            // Neither flag: both entries unticked, the template stays.
            s().FourSlotsTicked = false;
            s().EightSlotsTicked = false;
            if (QAction *a = mf->menuAction(QStringLiteral("biszu4MessungenjeTag")))
                a->setChecked(false);
            if (QAction *a = mf->menuAction(QStringLiteral("biszu8MessungenjeTag")))
                a->setChecked(false);
        }
    }

    // The table's entry lines into the entry list; false after a read error.
    bool readIntoList(const QString &table) const {
        QStringList lines;
        if (!monthtable::readLines(table, lines)) {
            ui::showWarning(QStringLiteral("Fehler Lesen der Datei!"));
            return false;
        }
        for (QString line : lines) {
            if (line.isEmpty()) line = QStringLiteral("test");
            if (!entryline::isEntryLine(line)) continue;
            entry->appendEntry(line);
            QString w = line;
            qsizetype p = w.indexOf(QStringLiteral("den "));
            if (p >= 0) w = w.mid(p + 4);
            p = w.indexOf(u'.');
            if (p < 0) continue;
            w = w.mid(p + 1);
            p = w.indexOf(u'.');
            if (p < 0) continue;
            const QString month = w.left(p);
            entry->SpinEdit2->setFieldText(month);
            s().EntryMonth = month;
            s().EntryMonthName = GibMonatLang(month.toInt());
            w = w.mid(p + 1);
            p = w.indexOf(u' ');
            if (p >= 0) s().EntryYear = w.left(p);
        }
        return true;
    }

    void heading(bool replaceEmptyName) const {
        const SettingsStore header(s().CurrentTablePath);
        const QString sec = monthtable::kSection;
        const bool known = QFileInfo(s().CurrentTablePath).isFile();
        const QString date = known ? header.read(sec, QStringLiteral("Datum")) : QString();
        const QString name = known ? header.read(sec, QStringLiteral("BenutzerName")) : QString();
        entry->Label4->setText(QStringLiteral("Messwerte ") + date + QStringLiteral("  ") + name);
        if (!name.isEmpty() || replaceEmptyName) s().TableUserName = name;
    }

    void today() const {
        entry->Label3->setText(QStringLiteral("Heute ist der ") +
                               german::date(QDate::currentDate()));
    }

    void reselect() const {
        if (mf->hooks.reselectDay) mf->hooks.reselectDay();
    }

    void undalsGrafikanzeigen1Click() const {
        const QString file = chooseFile();
        if (!file.isEmpty() && attach(file)) {
            applyMode(file);
            mf->MittelwertImage->setPicture(mf->LeerImage->picture());
            if (mf->hooks.drawMonth) mf->hooks.drawMonth(file);
            mf->MesswerteClick();
        }
        mf->FormResize();
    }

    void undTabelleanzeigen1Click() const {
        s().ShowTableOnOpen = true;
        undTabellebearbeiten1Click();
        mf->FormResize();
    }

    void undTabellebearbeiten1Click() const {
        const QString file = chooseFile();
        if (file.isEmpty()) {
            s().ShowTableOnOpen = false;
            mf->FormResize();
            reselect();
            return;
        }
        if (!attach(file)) {
            s().ShowTableOnOpen = false;
            mf->FormResize();
            return;
        }
        entry->clearEntries();
        entry->clearYearMismatch();
        entry->SpinEdit3->setFieldText(monthtable::yearOfPath(s().CurrentTablePath));
        mf->LiesUhrzeitenEin();
        heading(true);
        applyMode(file);
        if (!readIntoList(file)) return;
        today();
        entry->showModally();
        mf->FormResize();
        reselect();
    }

    void anzeigen1Click() const {
        showTableWindow(entry->tableText(), true);
        mf->FormResize();
    }

    void aktuellebearbeiten1Click() const {
        entry->clearYearMismatch();
        entry->clearEntries();
        mf->LiesUhrzeitenEin();
        heading(false);
        if (QFileInfo(s().CurrentTablePath).isFile()) {
            if (!readIntoList(s().CurrentTablePath)) return;
            today();
            entry->showModally();
        } else {
            neuerstellen1Click();
        }
        mf->FormResize();
    }

    void neuerstellen1Click() const {
        entry->Label4->setText(QStringLiteral("Messwerte von ") + s().TableUserName);
        entry->clearEntries();
        entry->clearYearMismatch();
        const QDate d = QDate::currentDate();
        entry->Label3->setText(QStringLiteral("Heute ist der ") + german::date(d));
        entry->SpinEdit2->setValue(d.month());
        entry->SpinEdit3->setValue(d.year());
        mf->LiesUhrzeitenEin();
        s().NewMonthPending = true;
        if (nameDlg->isVisible()) nameDlg->done(QDialog::Accepted);
        entry->showNonModal();
    }

    void Benutzernamendern1Click() const {
        mf->LiesUhrzeitenEin();
        nameDlg->atStartup = false;
        nameDlg->open();
    }

    bool run(const QString &name) const {
        if (name == u"undalsGrafikanzeigen1")
            undalsGrafikanzeigen1Click();
        else if (name == u"undTabelleanzeigen1")
            undTabelleanzeigen1Click();
        else if (name == u"undTabellebearbeiten1")
            undTabellebearbeiten1Click();
        else if (name == u"anzeigen1")
            anzeigen1Click();
        else if (name == u"aktuellebearbeiten1")
            aktuellebearbeiten1Click();
        else if (name == u"neuerstellen1" || name == u"NeuerstellenneuerMonatoderJahr1")
            neuerstellen1Click();
        else if (name == u"Benutzernamendern1")
            Benutzernamendern1Click();
        else
            return false;
        return true;
    }
};

} // namespace

bool attachTable(Program &p, const QString &path) {
    TMainForm *mf = p.MainForm;
    AppState &s = mf->state();
    if (p.diaryPage && !p.diaryPage->leavePage()) return false;
    s.CurrentTablePath = path;
    if (path.isEmpty()) return true;
    mf->settings().set(keys::TabellenDateiName, path);
    if (p.diaryPage) p.diaryPage->attachBook(path);
    return true;
}

void wireEntry(Program &p) {
    TMainForm *mf = p.MainForm;
    auto *entry = new TEingabeDlg(mf);
    auto *nameDlg = new TNameEingDlg(mf);
    auto *header = new THeaderBearbeitenDlg(mf);
    p.EingabeDlg = entry;
    p.NameEingDlg = nameDlg;
    p.HeaderBearbeitenDlg = header;
    const auto cmds = std::make_shared<MonthCommands>(MonthCommands{&p, mf, entry, nameDlg});

    entry->callbacks.liesUhrzeitenEin = [mf] { mf->LiesUhrzeitenEin(); };
    entry->callbacks.drawMonth = [mf](const QString &path) {
        if (mf->hooks.drawMonth) mf->hooks.drawMonth(path);
    };
    entry->callbacks.afterGraph = [mf] { mf->FormResize(); };
    entry->callbacks.layoutMainWindow = [mf] { mf->LayoutControls(); };
    entry->callbacks.reselectDay = [mf] {
        if (mf->hooks.reselectDay) mf->hooks.reselectDay();
    };
    entry->callbacks.showTableWindow = [](const QString &text) { showTableWindow(text, false); };
    entry->FormCreate();

    nameDlg->callbacks.setTitle = [mf](const QString &t) { mf->Label1->setText(t); };
    nameDlg->callbacks.setEntryHeading = [entry](const QString &t) { entry->Label4->setText(t); };
    nameDlg->callbacks.drawMonth = [mf](const QString &path) {
        if (mf->hooks.drawMonth) mf->hooks.drawMonth(path);
    };
    nameDlg->callbacks.newMonth = [cmds] { cmds->neuerstellen1Click(); };
    nameDlg->callbacks.quitProgram = [mf] {
        // Ends the run without storing the window state.
        QTimer::singleShot(0, qApp, [] { QApplication::exit(0); });
        mf->hide();
    };
    nameDlg->FormCreate();

    // A slot without a remembered time shows an empty time field; the add
    // command asks for a time then.
    mf->hooks.setEntryTime = [entry](const QString &t) { entry->Edit1->setText(t); };
    mf->hooks.currentSlot = [entry] { return entry->currentSlot(); };
    mf->hooks.setEntryHeading = [entry](const QString &t) { entry->Label4->setText(t); };
    // Modal to the application, but the caller (the first paint) returns at once.
    mf->hooks.askUserName = [nameDlg] {
        nameDlg->atStartup = true;
        nameDlg->open();
    };

    auto previous = mf->hooks.command;
    mf->hooks.command = [cmds, previous](const QString &name) {
        if (cmds->run(name)) return true;
        return previous ? previous(name) : false;
    };
}
