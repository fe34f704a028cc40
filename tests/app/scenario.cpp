#include "scenario.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include "graph/geometry.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "storage/monthtable.h"

namespace scenario {

QStringList deliveredSettings(const QStringList &extra) {
    QStringList lines;
    if (!textfile::readLines(testutil::beside("glykoval.ini"), lines))
        ADD_FAILURE() << "no glykoval.ini";
    return lines + extra;
}

QString reading(MeasurementSlot slot, int day, int month, int year, const QString &time,
                int value) {
    return entryline::format(slot, QStringLiteral("%1").arg(day, 2, 10, QChar(u'0')),
                             QStringLiteral("%1").arg(month, 2, 10, QChar(u'0')),
                             QString::number(year), time, QString::number(value));
}

QByteArray monthFile(const QString &user, int month, int year, const QStringList &entries,
                     bool eight) {
    const QString date = GibMonatLang(month) + u' ' + QString::number(year);
    return testutil::crlf(testutil::monthHeader(user, date, eight) + entries);
}

void typeText(QWidget *widget, const QString &text) {
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(widget, QString(c));
            continue;
        }
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QByteArray diaryPage(int day, int carbs, const QByteArray &remark) {
    return QStringLiteral("Tag%1: \t #BE: Morgens= %2\t|  M2= \t|  M3= \t|  Abends= \t #Insulin "
                          "(ICT) : Bolus=  Basal= \t|  Bol.=   Bas.= \t|  Bol.=   Bas.= \t|  "
                          "Bol.=   Bas.= \t #Bemerkung: ")
               .arg(day, 2, 10, QChar(u'0'))
               .arg(carbs)
               .toLatin1() +
           remark + "\r\n";
}

QStringList readingsIn(const QString &tablePath) {
    QStringList lines;
    if (!textfile::readLines(tablePath, lines)) return {};
    return monthtable::entryLines(lines);
}

Folder::Folder(const QStringList &extraSettings, bool delivered) : m_old(QDir::currentPath()) {
    QDir::setCurrent(m_dir.path());
    if (!delivered) return;
    testutil::writeBytes(ini(), testutil::crlf(deliveredSettings(extraSettings)));
    for (const char *picture : {"Grafik4.bmp", "Grafik8.bmp", "M_einheit.bmp", "Header.bmp"})
        if (!QFile::copy(testutil::beside(picture), m_dir.file(picture)))
            ADD_FAILURE() << "no delivered " << picture;
    QDir().mkpath(data());
}

Folder::~Folder() {
    QDir::setCurrent(m_old);
}

QString Folder::table(const QString &name, int year) const {
    const QString folder = data() + QString::number(year);
    QDir().mkpath(folder);
    return folder + u'/' + name;
}

QString Folder::setting(const QString &key) const {
    return profile::read(ini(), QStringLiteral("Einstellung"), key);
}

QString tableName(int month, int year) {
    return QStringLiteral("MM%1%2.tab").arg(month, 2, 10, QChar(u'0')).arg(year);
}

QStringList fourADay(int month, int year, int days) {
    const MeasurementSlot slotList[] = {MeasurementSlot::Morgens, MeasurementSlot::Messung2,
                                        MeasurementSlot::Messung3, MeasurementSlot::Abends};
    const char *times[] = {"07:00", "12:00", "18:00", "22:00"};
    QStringList l;
    for (int d = 1; d <= days; ++d)
        for (int s = 0; s < 4; ++s)
            l << reading(slotList[s], d, month, year, QString::fromLatin1(times[s]),
                         100 + 10 * d + s);
    return l;
}

QString storeTable(const Folder &f, int month, int year, const QStringList &entries, bool current,
                   bool eight) {
    const QString table = f.table(tableName(month, year), year);
    testutil::writeBytes(table, monthFile("Max Muster", month, year, entries, eight));
    if (current) profile::write(f.ini(), "Einstellung", "TabellenDateiName", table);
    return table;
}

StoredMonth::StoredMonth(const QStringList &settings, bool current)
    : month(QDate::currentDate().month()), year(QDate::currentDate().year()), f(settings),
      stored(fourADay(month, year)), table(storeTable(f, month, year, stored, current)),
      bytes(testutil::readBytes(table)) {}

QString StoredMonth::diary() const {
    return monthtable::diaryPathOf(table);
}

QString StoredMonth::reading(MeasurementSlot slot, int day, const char *time, int value) const {
    return scenario::reading(slot, day, month, year, QString::fromLatin1(time), value);
}

App::App(ui::Services *services) {
    m_program = createProgram(services ? *services : rec);
    if (!m_program) return;
    m_program->mainForm().show();
    settle();
}

App::~App() {
    // Windows a test left open go with the program.
    if (m_program) m_program->mainForm().hide();
    settle();
}

TMainForm &App::window() {
    return m_program->mainForm();
}

testing::AssertionResult App::saidOnce(ui::Kind kind, const QString &part) const {
    if (rec.shown.size() != 1 || rec.shown[0].kind != kind || !rec.shown[0].text.contains(part))
        return testing::AssertionFailure() << "said: " << said();
    return testing::AssertionSuccess();
}

void App::menu(const char *objectName) {
    QAction *a = m_program->mainForm().findChild<QAction *>(QString::fromLatin1(objectName));
    ASSERT_NE(a, nullptr) << objectName;
    ASSERT_TRUE(a->isEnabled()) << objectName << " is disabled";
    a->trigger();
    settle();
}

void App::clickDay(int day) {
    QTest::mouseClick(find<QWidget>("Image"), Qt::LeftButton, {},
                      QPoint(graphgeo::DayX(day) + 10, 200));
    settle();
}

void App::typeInPage(int line, const QString &after, const QString &text) {
    QTextEdit *ed = page();
    const QTextBlock b = ed->document()->findBlockByNumber(line);
    const int at = int(b.text().indexOf(after));
    ASSERT_GE(at, 0) << b.text().toStdString();
    QTextCursor c(b);
    c.setPosition(b.position() + at + int(after.size()));
    ed->setTextCursor(c);
    ed->setFocus();
    typeText(ed, text);
}

void App::inEntryDialog(const std::function<void(const EntryControls &)> &inside,
                        const char *menuEntry) {
    whenModal([inside](QWidget *w) { inside(EntryControls(w)); });
    menu(menuEntry);
}

void App::whenModal(const std::function<void(QWidget *)> &inside) {
    auto *timer = new QTimer;
    QWidget *before = QApplication::activeModalWidget();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout,
                     [timer, deadline = QDeadlineTimer(10000), inside, before] {
                         QPointer<QWidget> m = QApplication::activeModalWidget();
                         const bool opened = m && m != before && m->isVisible();
                         if (!opened && !deadline.hasExpired()) return;
                         timer->stop();
                         timer->deleteLater();
                         if (!opened) {
                             ADD_FAILURE() << "no modal window opened";
                             return;
                         }
                         inside(m);
                         if (m && m->isVisible()) {
                             ADD_FAILURE() << "modal window " << m->objectName().toStdString()
                                           << " was left open";
                             if (auto *d = qobject_cast<QDialog *>(m.data()))
                                 d->reject();
                             else
                                 m->close();
                         }
                     });
    timer->start();
}

void App::settle(int ms) {
    QElapsedTimer t;
    t.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    } while (t.elapsed() < ms);
}

} // namespace scenario
