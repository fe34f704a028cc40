#include <QAbstractButton>
#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTabWidget>

#include "dialogs/einstelldlg.h"
#include "diary/tagebuchspeichernform.h"
#include "entry/eingabedlg.h"
#include "platform/filedialog.h"
#include "platform/germaninterface.h"
#include "printing/druckvorschau.h"
#include "scenario.h"

namespace {

// A caption as the user reads it: without the mnemonic "&" and the shortcut
// after a tab.
QString plain(QString t) {
    t = t.section(u'\t', 0, 0);
    t.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    t.remove(u'&');
    t.replace(u'\x01', u'&');
    return t.trimmed();
}

void addText(QStringList &texts, const QString &t) {
    const QString p = plain(t);
    if (!p.isEmpty() && !texts.contains(p)) texts << p;
}

void addActions(QStringList &texts, const QList<QAction *> &actions) {
    for (QAction *a : actions) {
        addText(texts, a->text());
        addText(texts, a->toolTip());
        if (a->menu()) {
            addText(texts, a->menu()->title());
            addActions(texts, a->menu()->actions());
        }
    }
}

// Every text a window shows: title, labels, buttons and their tool tips,
// group boxes, tabs, list entries, column headers and (context) menu entries.
// The printer's own name, place and kind come from the system and are left out.
QStringList shownTexts(QWidget *top) {
    QStringList texts;
    addText(texts, top->windowTitle());
    QList<QWidget *> widgets = top->findChildren<QWidget *>();
    widgets.prepend(top);
    for (QWidget *w : widgets) {
        const QString name = w->objectName();
        if (name == u"printers" || name == u"location" || name == u"type") continue;
        addText(texts, w->toolTip());
        addText(texts, w->whatsThis());
        addActions(texts, w->actions());
        if (auto *l = qobject_cast<QLabel *>(w)) addText(texts, l->text());
        if (auto *b = qobject_cast<QAbstractButton *>(w)) addText(texts, b->text());
        if (auto *g = qobject_cast<QGroupBox *>(w)) addText(texts, g->title());
        if (auto *m = qobject_cast<QMenu *>(w)) addText(texts, m->title());
        if (auto *tw = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < tw->count(); ++i)
                addText(texts, tw->tabText(i));
        if (auto *c = qobject_cast<QComboBox *>(w); c && !c->isEditable())
            for (int i = 0; i < c->count(); ++i)
                addText(texts, c->itemText(i));
        if (auto *h = qobject_cast<QHeaderView *>(w); h && h->model())
            for (int i = 0; i < h->model()->columnCount(); ++i)
                addText(texts, h->model()->headerData(i, Qt::Horizontal).toString());
        if (auto *e = qobject_cast<QLineEdit *>(w)) addText(texts, e->placeholderText());
    }
    for (QAction *a : top->findChildren<QAction *>())
        addText(texts, a->text());
    return texts;
}

// Shows a dialog without waiting for it and reads its texts.
QStringList textsOfShown(QDialog &dlg) {
    dlg.show();
    QCoreApplication::processEvents();
    const QStringList texts = shownTexts(&dlg);
    dlg.close();
    return texts;
}

QStringList menuTexts(QMenu *menu) {
    QStringList texts;
    addActions(texts, menu->actions());
    delete menu;
    return texts;
}

// Words of Qt's English dialogs that German never uses.
const QStringList kEnglishWords = {
    "Cancel",  "Open",     "Save",       "Look",     "File",      "Files",     "Print",
    "Printer", "Options",  "Properties", "Color",    "Colors",    "Colour",    "Basic",
    "Custom",  "Select",   "Selection",  "Undo",     "Redo",      "Cut",       "Copy",
    "Paste",   "Delete",   "All",        "Back",     "Forward",   "Parent",    "Directory",
    "Folder",  "Create",   "New",        "Show",     "Hidden",    "Rename",    "View",
    "Size",    "Type",     "Date",       "Modified", "Output",    "Location",  "Preview",
    "Pages",   "Page",     "Range",      "Current",  "Collate",   "Reverse",   "Copies",
    "Duplex",  "Long",     "Short",      "Side",     "Grayscale", "Pick",      "Screen",
    "Add",     "Hue",      "Sat",        "Val",      "Red",       "Green",     "Blue",
    "channel", "Yes",      "Close",      "Apply",    "Help",      "Exit",      "Quit",
    "About",   "Settings", "Edit",       "Window",   "found",     "Please",    "verify",
    "correct", "already",  "exists",     "want",     "replace",   "overwrite", "you",
    "the",     "of",       "Recent",     "Places",   "Detail",    "List View",
};

QStringList englishIn(const QStringList &texts) {
    QStringList hits;
    for (const QString &t : texts)
        for (const QString &w : kEnglishWords) {
            const QString word = w.endsWith(u':') ? w.chopped(1) : w;
            const QRegularExpression re(QStringLiteral("\\b%1\\b").arg(word));
            if (re.match(t).hasMatch()) {
                hits << t;
                break;
            }
        }
    return hits;
}

// Texts the German dialogs still show exactly as Qt's English ones do;
// texts that read the same in both languages and paths do not count.
QStringList untranslated(const QStringList &german, const QStringList &english) {
    static const QStringList same = {"OK", "HTML:", "Name", "Name:", "...", "Details"};
    QStringList hits;
    for (const QString &t : german)
        if (english.contains(t) && !same.contains(t) && !t.contains(u'/') &&
            t.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2}"))))
            hits << t;
    return hits;
}

// Qt's own dialogs as they come, for the English texts.
QStringList englishDialogTexts() {
    QStringList texts;
    QColorDialog color;
    QFileDialog open;
    QFileDialog save;
    save.setAcceptMode(QFileDialog::AcceptSave);
    QPrinter printer;
    QPrintDialog print(&printer);
    for (QDialog *d : std::initializer_list<QDialog *>{&color, &open, &save, &print})
        texts << textsOfShown(*d);
    QLineEdit line;
    texts << menuTexts(line.createStandardContextMenu());
    return texts;
}

// Opens the real Qt dialog the program asks for, without waiting, reads its
// texts and answers "cancel".
class ShowingServices : public ui::RecordingServices {
public:
    QStringList dialogTexts;
    QStringList opened;

    QString openFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override {
        return fileDialog(QFileDialog::AcceptOpen, parent, caption, folder, filter);
    }
    QString saveFileName(QWidget *parent, const QString &caption, const QString &folder,
                         const QString &filter) override {
        return fileDialog(QFileDialog::AcceptSave, parent, caption, folder, filter);
    }
    bool chooseColor(QWidget *parent, const QColor &initial, QColor &) override {
        opened << "color";
        QColorDialog dlg(initial, parent);
        dialogTexts << textsOfShown(dlg);
        return false;
    }
    bool printDialog(QWidget *parent, QPrinter *printer) override {
        opened << "print";
        QPrintDialog dlg(printer, parent);
        dialogTexts << textsOfShown(dlg);
        return false;
    }

private:
    QString fileDialog(QFileDialog::AcceptMode mode, QWidget *parent, const QString &caption,
                       const QString &folder, const QString &filter) {
        opened << (mode == QFileDialog::AcceptOpen ? "open" : "save");
        const auto dlg = makeFileDialog(parent, caption, folder, filter, mode);
        dialogTexts << textsOfShown(*dlg);
        return {};
    }
};

} // namespace

TEST(GermanInterface, MenusAndStandardDialogsShowNoEnglishUnderTheCLocale) {
    scenario::Folder folder;
    const QLocale before = QLocale();
    QLocale::setDefault(QLocale::c());
    const auto restore = qScopeGuard([&before] {
        german::tearDown();
        QLocale::setDefault(before);
    });
    const QStringList english = englishDialogTexts();
    ASSERT_TRUE(english.contains("Look in:")) << "Qt's English texts as the reference";

    ASSERT_TRUE(german::setUp()) << "Qt's German translations (qt6-translations-l10n) missing";
    ShowingServices services;
    auto program = createProgram(services);
    ASSERT_TRUE(program);
    QStringList menus;
    for (QMenu *m : program->mainForm().findChildren<QMenu *>()) {
        addText(menus, m->title());
        addActions(menus, m->actions());
    }
    ASSERT_TRUE(menus.contains("Grafik ganzen Monat drucken"));
    const QStringList contextMenus =
        menuTexts(
            program->mainForm().findChild<QTextEdit *>("RichEdit1")->createStandardContextMenu()) +
        menuTexts(
            program->entryDialog().findChild<QLineEdit *>("Edit1")->createStandardContextMenu());

    // The dialogs the program opens: a month table, a colour, the diary
    // book's PDF file, the graph's printer.
    program->mainForm().menu().undalsGrafikanzeigen1->trigger();
    program->settingsDialog().findChild<QPushButton *>("Button1")->click();
    program->diaryBookWindow().findChild<QAction *>("SpeichernalsPDFDatei1")->trigger();
    program->graphPrintPreview().findChild<QPushButton *>("DruckenBtn")->click();
    EXPECT_EQ(services.opened, QStringList({"open", "color", "save", "print"}));
    const QStringList dialogs = services.dialogTexts;
    const QStringList questions = {
        QFileDialog::tr("%1 already exists.\nDo you want to replace it?"),
        QFileDialog::tr("%1\nFile not found.\nPlease verify the correct file name was given."),
    };

    EXPECT_EQ(englishIn(menus), QStringList());
    EXPECT_EQ(englishIn(contextMenus), QStringList());
    EXPECT_EQ(englishIn(dialogs), QStringList());
    EXPECT_EQ(englishIn(questions), QStringList());
    EXPECT_EQ(untranslated(dialogs + contextMenus, english), QStringList());
    for (const char *german :
         {"Farbauswahl", "Grundfarben", "Suchen in:", "Dateiname:", "Abbrechen", "Drucken",
          "Drucker", "Ausgabedatei:", "Einstellungen >>", "Alles auswählen", "Einfügen",
          "Rückgängig"})
        EXPECT_TRUE(dialogs.contains(QString::fromUtf8(german)) ||
                    contextMenus.contains(QString::fromUtf8(german)))
            << german;
    EXPECT_TRUE(questions.at(0).contains(QStringLiteral("existiert bereits")));
}
