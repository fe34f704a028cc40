#include "readers.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include "platform/convert.h"
#include "platform/inidocument.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "platform/win1252.h"
#include "storage/diarybook.h"
#include "storage/entryline.h"
#include "storage/limits.h"
#include "storage/monthread.h"
#include "storage/monthtable.h"
#include "storage/monthvalues.h"
#include "storage/settingsstore.h"

namespace fuzzing {

namespace {

const QString kTable = QStringLiteral("MM032024.tab");
const QString kDiary = QStringLiteral("MM032024.txt");
const QString kSettings = QStringLiteral("glykoval.ini");

QStringList defaultSettings() {
    return {QStringLiteral("[Einstellung]"),
            QStringLiteral("Grafik4=Grafik4.bmp"),
            QStringLiteral("Grafik8=Grafik8.bmp"),
            QStringLiteral("BisZu4MessungenJeTag=1"),
            QStringLiteral("Hochwerte>=250"),
            QStringLiteral("Kritischwerte>=160"),
            QStringLiteral("Tiefwerte<=70"),
            QStringLiteral("FarbeHochwerte=255"),
            QStringLiteral("FarbeKritischwerte=33023"),
            QStringLiteral("FarbeTiefwerte=16711680"),
            QStringLiteral("KurvenFarbe=8388608"),
            QStringLiteral("StiftBreite=3"),
            QStringLiteral("Messung4UhrzeitMorgens=07:00"),
            QStringLiteral("FensterBreite=1000")};
}

QStringList defaultTable() {
    QStringList l = {QStringLiteral("[Personendaten]"),
                     QStringLiteral("BenutzerName=Max Muster"),
                     QString::fromUtf8("Datum=März 2024"),
                     QString(),
                     QStringLiteral("BisZu4MessungenJeTag=1"),
                     QStringLiteral("BisZu8MessungenJeTag=0"),
                     QString(),
                     QString()};
    const int values[] = {128, 95, 160, 0, 210, 75, 140, 301};
    const MeasurementSlot order[] = {MeasurementSlot::Morgens, MeasurementSlot::Messung2,
                                     MeasurementSlot::Messung3, MeasurementSlot::Abends};
    for (int i = 0; i < 8; ++i)
        l << entryline::format(order[i % 4],
                               QStringLiteral("%1").arg(1 + i / 4, 2, 10, QChar(u'0')),
                               QStringLiteral("03"), QStringLiteral("2024"),
                               QStringLiteral("07:30"), QString::number(values[i]));
    return l;
}

// In memory when the system offers it: every run writes files.
QString scratchTemplate() {
    const QString shm = QStringLiteral("/dev/shm");
    return (QFileInfo(shm).isDir() && QFileInfo(shm).isWritable() ? shm : QDir::tempPath()) +
           QStringLiteral("/glyko-fuzz-XXXXXX");
}

struct Scratch {
    QTemporaryDir dir{scratchTemplate()};
    // One folder per kind of input; the other files in it stay valid.
    QString month, diary, settings;
};

Scratch *g_scratch = nullptr;

[[noreturn]] void broken(const char *promise, const QString &detail = QString()) {
    qFatal("Zusage gebrochen: %s %s", promise, qPrintable(detail.left(300)));
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        broken("scratch file written", path);
}

QString makeFolder(const QString &name) {
    const QString path = g_scratch->dir.path() + u'/' + name + u'/';
    QDir().mkpath(path);
    textfile::writeLines(path + kSettings, defaultSettings());
    textfile::writeLines(path + kTable, defaultTable());
    textfile::writeLines(path + kDiary,
                         {QStringLiteral("Tag01: \t #BE: Morgens= 4\t|  M2= \t|  M3= \t|  "
                                         "Abends= \t #Insulin (ICT) : Bolus= 6 Basal= \t|  "
                                         "Bol.=   Bas.= \t|  Bol.=   Bas.= \t|  Bol.=   Bas.= "
                                         "\t #Bemerkung: Sport"),
                          QStringLiteral("Tag02: \t #BE: \t #Insulin (CT) \t #Bemerkung: ")});
    return path;
}

// The statistics, the table and the figures of the exports.
void computeMonth(const QString &folder, const QStringList &lines) {
    const QStringList entries = monthtable::entryLines(lines);
    std::array<QString, 31> days;
    QString value;
    for (const QString &l : entries)
        monthvalues::collect(l, days, value);
    monthread::dayEndsOf(lines);

    for (const QString &l : entries) {
        entryline::Fields f;
        entryline::split(l, f);
        MeasurementSlot slot;
        entryline::slotOf(l, slot);
        entryline::dayOf(l);
        entryline::monthOf(l);
        entryline::yearOf(l);
        entryline::timeOf(l);
    }
    monthread::Month month;
    QString error;
    monthread::readWhole(folder + kTable, month, &error);
}

// A month saved from the entry list reads back with the same entry lines.
void saveMonth(const QString &folder, const QStringList &entries) {
    if (!win1252::encodable(entries.join(QString()))) return; // told to the user elsewhere
    for (const QString &l : entries)
        if (l.contains(u'\r') || l.contains(u'\n')) return;
    monthtable::WriteRequest req;
    req.entries = entries;
    req.userName = QStringLiteral("Max Muster");
    req.month = QStringLiteral("03");
    req.year = QStringLiteral("2024");
    req.currentTablePath = folder + kTable;
    req.dataFolder = folder + QStringLiteral("Daten/");
    const monthtable::WriteResult written = monthtable::write(req);
    if (!written) broken("a month table in the scratch folder is written");
    const QString &path = written.path;
    QStringList back;
    if (!monthtable::readLines(path, back) || monthtable::entryLines(back) != entries)
        broken("a saved month reads back with the same entry lines", path);
}

} // namespace

void setUp() {
    if (g_scratch) return;
    g_scratch = new Scratch;
    if (!g_scratch->dir.isValid()) broken("a scratch folder exists");
    g_scratch->month = makeFolder(QStringLiteral("month"));
    g_scratch->diary = makeFolder(QStringLiteral("diary"));
    g_scratch->settings = makeFolder(QStringLiteral("settings"));
}

void tearDown() {
    if (g_scratch) g_scratch->dir.remove();
}

QString scratchFolder() {
    setUp();
    return g_scratch->dir.path() + u'/';
}

void readMonthTable(const QByteArray &bytes) {
    setUp();
    const QString folder = g_scratch->month;
    writeFile(folder + kTable, bytes);
    QStringList lines;
    if (!monthtable::readLines(folder + kTable, lines)) broken("the month table is readable");
    computeMonth(folder, lines);
    saveMonth(folder, monthtable::entryLines(lines));
}

void readDiaryFile(const QByteArray &bytes) {
    setUp();
    const QString folder = g_scratch->diary;
    const QString table = folder + kTable;
    writeFile(folder + kDiary, bytes);

    DiaryBook book;
    if (book.LadeTagebuch(table) != DiaryBook::LoadResult::Loaded)
        broken("the diary file is loaded");
    const QStringList lines = book.lines();
    for (const QString &l : lines) {
        if (DiaryBook::unescapeText(DiaryBook::escapeText(l)) != l)
            broken("an escaped text comes back unchanged", l);
        const DiaryBook::Sections s = DiaryBook::splitSections(l);
        for (const QString *part : {&s.head, &s.carb, &s.insulin, &s.remark})
            DiaryBook::unescapeText(*part);
    }
    for (int day = 0; day <= 32; ++day) {
        book.linesOfDay(day);
        DiaryBook::splitSections(book.pageLineOfDay(day));
    }
    DiaryBook::GibMarkierteTagebuchseite(lines);

    // Storing a page keeps every line of other days; deleting one too.
    const QString marked = DiaryBook::GibMarkierteTagebuchseite(
        {QString(), QString(), QString(), QString(), QString(), QStringLiteral("\t BE: Morgens= 2"),
         QString(), QStringLiteral("\t Insulin (CT) : Morgens= 4"), QString(),
         QStringLiteral("\t Bemerkung: #1")});
    QString error;
    if (!book.SpeichereTagebuchseite(5, marked, DiaryBook::StoreFrom::Close, table,
                                     SettingsStore(QString()), &error))
        broken("a page is stored in the scratch folder", error);
    QStringList expected;
    for (const QString &l : lines)
        if (!DiaryBook::belongsToDay(l, 5)) expected << l;
    if (book.lines().mid(0, expected.size()) != expected)
        broken("storing a page keeps the lines of other days");
    DiaryBook back;
    back.LadeTagebuch(table);
    if (DiaryBook::splitSections(back.pageLineOfDay(5)).remark != QStringLiteral("Bemerkung: #1"))
        broken("a stored page reads back", back.pageLineOfDay(5));
    if (!book.deleteDay(7, &error)) broken("a day is deleted in the scratch folder", error);
}

void readSettingsFile(const QByteArray &bytes) {
    setUp();
    const QString folder = g_scratch->settings;
    const QString ini = folder + kSettings;
    writeFile(ini, bytes);

    const QString section = QString::fromLatin1(SettingsStore::kSection);
    const QStringList allKeys = {keys::BisZu4,
                                 keys::BisZu8,
                                 keys::Grafik4,
                                 keys::Grafik8,
                                 keys::Header,
                                 keys::KurvenFarbe,
                                 keys::MittelKurvenFarbe,
                                 keys::DatenwerteOberhalbFarbe,
                                 keys::WerteOberhalbKurveAnzeigen,
                                 keys::LinieBeiNullUnterbrechen,
                                 keys::FarbeHochwerte,
                                 keys::FarbeKritischwerte,
                                 keys::FarbeTiefwerte,
                                 keys::Hochwerte,
                                 keys::Kritischwerte,
                                 keys::Tiefwerte,
                                 keys::StiftBreite,
                                 keys::Grafikformat,
                                 keys::BE_Einheit,
                                 keys::CT_Therapie,
                                 keys::Tagebuch_sichtbar,
                                 keys::LetzteHScrollPosition,
                                 keys::LetzteKlickPosition,
                                 keys::FensterPosTop,
                                 keys::FensterPosLinks,
                                 keys::FensterBreite,
                                 keys::FensterHoehe,
                                 keys::BenutzerName,
                                 keys::TabellenDateiName,
                                 keys::LetzteEingabe};
    const SettingsStore st(ini);
    QStringList before;
    for (const QString &k : allKeys) {
        before << st.get(k);
        profile::contains(ini, section, k);
        st.flag(k);
        try {
            st.number(k, 0);
        } catch (const EConvertError &) {
        }
        try {
            st.requiredNumber(k);
        } catch (const EConvertError &) {
        }
    }
    const QString remarks = QStringLiteral("Bemerkungen_") + kTable;
    const QString remark = profile::read(ini, remarks, QStringLiteral("01.03.2024,1"));

    // Each key read on its own, with the file read only as far as that key,
    // reads as it does once all of the file is read.
    IniDocument whole(ini);
    whole.read(QStringLiteral("keine Sektion \x01"), QString());
    for (qsizetype i = 0; i < allKeys.size(); ++i)
        if (whole.read(section, allKeys[i]) != before[i])
            broken("a key read on its own reads as from the whole file", allKeys[i]);
    if (whole.read(remarks, QStringLiteral("01.03.2024,1")) != remark)
        broken("a remark read on its own reads as from the whole file", remark);

    // A write to a copy changes that key and no other.
    const QString copy = folder + QStringLiteral("kopie.ini");
    QFile::remove(copy);
    writeFile(copy, bytes);
    const struct {
        QString section, key, value;
    } writes[] = {{section, keys::StiftBreite, QStringLiteral("3")},
                  {section, keys::TabellenDateiName, folder + kTable},
                  {remarks, QStringLiteral("01.03.2024,1"), QString::fromUtf8("Sport ½ BE")}};
    for (const auto &w : writes) {
        if (!profile::write(copy, w.section, w.key, w.value)) broken("a settings copy is written");
        if (profile::read(copy, w.section, w.key) != w.value)
            broken("a written key reads back", w.key);
    }
    const SettingsStore written(copy);
    for (qsizetype i = 0; i < allKeys.size(); ++i)
        if (allKeys[i] != keys::StiftBreite && allKeys[i] != keys::TabellenDateiName &&
            written.get(allKeys[i]) != before[i])
            broken("a write leaves the other keys as they were", allKeys[i]);

    // The limits and the pen width of the drawing pass.
    const SettingsStore limitsFrom(ini);
    for (const QString &k : {keys::Hochwerte, keys::Kritischwerte, keys::Tiefwerte}) {
        try {
            const int v = limits::limit(k, st.get(k));
            if (v < 0 || v > 500) broken("a limit lies within 0 to 500", QString::number(v));
        } catch (const EConvertError &) {
        }
    }
    try {
        limits::penWidth(st.get(keys::StiftBreite));
    } catch (const EConvertError &) {
    }
}

QString folderOf(Reader reader) {
    setUp();
    switch (reader) {
    case Reader::Month:
        return g_scratch->month;
    case Reader::Diary:
        return g_scratch->diary;
    case Reader::Settings:
        break;
    }
    return g_scratch->settings;
}

QString tableName() {
    return kTable;
}

} // namespace fuzzing
