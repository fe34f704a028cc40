#include "tabellendlg.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/fonts.h"
#include "platform/textfile.h"
#include "platform/ui.h"
#include "platform/win1252.h"
#include "printing/remarkstore.h"
#include "storage/monthmodel.h"

TTabellenDlg::TTabellenDlg(const MonthModel &model, ui::Services &ui, QWidget *parent)
    : QDialog(parent), m_model(model), m_ui(ui) {
    setObjectName(QStringLiteral("TabellenDlg"));
    setWindowTitle(QStringLiteral("Glykovalinmesswerte-Tabelle"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    resize(732, 412);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    // Where "MS Sans Serif" is missing, Arial's metrics keep the columns in line.
    QFont f = fonts::arialPixels(11);
    if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
        f.setFamily(QStringLiteral("MS Sans Serif"));
    Memo1->setFont(f);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setMinimumSize(200, 100);
    layout->addWidget(Memo1);
    buildMenu();
}

void TTabellenDlg::buildMenu() {
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    layout()->setMenuBar(bar);
    auto entry = [this](QMenu *menu, const char *name, const QString &caption,
                        void (TTabellenDlg::*handler)()) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    QMenu *datei = bar->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("Datei1"));
    entry(datei, "drucken", QStringLiteral("&drucken"), &TTabellenDlg::druckenClick);
    entry(datei, "beenden1", QStringLiteral("be&enden"), &TTabellenDlg::beenden1Click);
    QMenu *patient = bar->addMenu(QStringLiteral("&Patientendaten"));
    patient->setObjectName(QStringLiteral("Patientendaten1"));
    entry(patient, "einfgen1", QStringLiteral("&einfügen"), &TTabellenDlg::einfgen1Click);
    entry(patient, "bearbeiten1", QStringLiteral("&bearbeiten"), &TTabellenDlg::bearbeiten1Click);
}

QString TTabellenDlg::patientDataFilter() {
    return QStringLiteral("Textdateien (*.txt);;Alle Dateien (*.*)");
}

bool TTabellenDlg::showTable(const QString &tableText, Opening how) {
    if (isVisible()) {
        done(QDialog::Rejected);
        if (isVisible()) {
            raise();
            return false;
        }
    }
    // The remarks are merged once for each showing, so a table shown again
    // never carries them twice.
    QStringList lines = textfile::splitLines(tableText);
    if (m_model.hasTable())
        lines = RemarkStore(m_model.settingsDocument(), m_model.tablePath()).merge(lines);
    Memo1->setPlainText(lines.join(u'\n'));
    switch (how) {
    case Opening::Beside:
        show();
        raise();
        break;
    case Opening::ModalAndPrint:
        QTimer::singleShot(0, this, [this] { druckenClick(); });
        [[fallthrough]];
    case Opening::Modal:
        exec();
        break;
    }
    return true;
}

QStringList TTabellenDlg::tableLines() const {
    return textfile::splitLines(Memo1->toPlainText());
}

void TTabellenDlg::setTextColor(const QColor &color) {
    QPalette pal = Memo1->palette();
    pal.setColor(QPalette::Text, color);
    Memo1->setPalette(pal);
}

void TTabellenDlg::showEvent(QShowEvent *e) {
    QDialog::showEvent(e);
    if (QScreen *s = screen()) move(s->availableGeometry().center() - rect().center());
}

// Characters the settings file cannot hold become "?": the user is asked
// first, naming the rows.
bool TTabellenDlg::remarksEncodable(const QStringList &lines) {
    QStringList rows;
    QString texts;
    for (const RemarkStore::Remark &r : RemarkStore::remarks(lines))
        if (!win1252::encodable(r.text)) {
            rows << r.fullKey.section(u',', 0, 0);
            texts += r.text;
        }
    if (rows.isEmpty()) return true;
    const QString what = rows.size() == 1
                             ? QStringLiteral("Die Bemerkung in Zeile ") + rows[0]
                             : QStringLiteral("Der Text der Bemerkungen in den Zeilen ") +
                                   rows.join(QStringLiteral(", "));
    return m_ui.askYesNo(win1252::lossQuestion(what, texts));
}

bool TTabellenDlg::BemerkungenSpeichern() {
    if (!m_model.hasTable()) return true;
    const QStringList lines = tableLines();
    if (!remarksEncodable(lines)) return false;
    const RemarkStore store(m_model.settingsDocument(), m_model.tablePath());
    const RemarkStore::StoreResult r = store.store(lines);
    if (!r.written) {
        m_ui.showWarning(QStringLiteral("Die Bemerkungen konnten nicht in der Datei \"%1\" "
                                        "gespeichert werden. %2\nDie Tabelle bleibt mit den "
                                        "Bemerkungen geöffnet.")
                             .arg(QDir::toNativeSeparators(m_model.folders().settings), r.reason));
        return false;
    }
    if (!r.tooLong.isEmpty()) {
        QStringList rows;
        for (const QString &key : r.tooLong)
            rows << key.section(u',', 0, 0);
        m_ui.showWarning(
            QStringLiteral("Die Bemerkung in Zeile %1 ist länger als %2 Zeichen und kann nicht "
                           "vollständig behalten werden. Beim nächsten Öffnen der Tabelle "
                           "erscheinen nur die ersten %2 Zeichen.")
                .arg(rows.join(QStringLiteral(", ")))
                .arg(RemarkStore::kMaxRemark));
    }
    return true;
}

void TTabellenDlg::done(int r) {
    if (isVisible() && !BemerkungenSpeichern()) return;
    const bool wasOpen = isVisible();
    QDialog::done(r);
    if (wasOpen) emit closed();
}

void TTabellenDlg::druckenClick() {
    emit printRequested();
}

QString TTabellenDlg::patientDataFileName() {
    return m_ui.openFileName(this, QStringLiteral("Patientendaten"),
                             m_model.folders().base + QStringLiteral("Patientendaten.txt"),
                             patientDataFilter());
}

void TTabellenDlg::einfgen1Click() {
    const QString file = patientDataFileName();
    if (file.isEmpty()) return;
    QStringList inserted;
    if (!textfile::readLines(file, inserted)) {
        m_ui.showWarning(QStringLiteral("Fehler Lesen der Datei!"));
        return;
    }
    Memo1->setPlainText((inserted + tableLines()).join(u'\n'));
}

QStringList TTabellenDlg::patientDataTemplate() {
    return {QStringLiteral("Patientendaten"),
            QStringLiteral("Name:"),
            QStringLiteral("Geboren am:"),
            QStringLiteral("Anschrift:"),
            QStringLiteral("Telefon:"),
            QStringLiteral("Krankenkasse und Versichertennummer:"),
            QStringLiteral("Diabetestyp und Therapie:"),
            QStringLiteral("Behandelnde Praxis:")};
}

void TTabellenDlg::bearbeiten1Click() {
    // Before there is a patient-data file, one can be made from a template.
    const QString proposed = m_model.folders().base + QStringLiteral("Patientendaten.txt");
    if (!QFileInfo::exists(proposed) &&
        m_ui.askYesNo(QStringLiteral("Die Datei \"Patientendaten.txt\" gibt es im Ordner \"%1\" "
                                     "noch nicht.\nSoll sie mit einer Vorlage angelegt werden?")
                          .arg(QDir::toNativeSeparators(m_model.folders().base)))) {
        QString error;
        if (!textfile::writeLines(proposed, patientDataTemplate(), &error)) {
            m_ui.showWarning(QStringLiteral("Die Datei \"%1\" konnte nicht angelegt werden: %2")
                                 .arg(proposed, error));
            return;
        }
        emit patientDataRequested(proposed);
        return;
    }
    const QString file = patientDataFileName();
    if (file.isEmpty()) return;
    emit patientDataRequested(file);
}

void TTabellenDlg::beenden1Click() {
    close();
}
