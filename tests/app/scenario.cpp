#include "scenario.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/mainform.h"
#include "graph/geometry.h"
#include "graph/templatepicture.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "storage/monthtable.h"

namespace scenario {

QStringList deliveredSettings(const QStringList &extra) {
    QStringList l = {"[Einstellung]",
                     "Grafik4=Grafik4.bmp",
                     "Grafik8=Grafik8.bmp",
                     "Header=Header.bmp",
                     "BisZu4MessungenJeTag=1",
                     "BisZu8MessungenJeTag=0",
                     "Hochwerte>=180",
                     "Kritischwerte>=140",
                     "Tiefwerte<=60",
                     "FarbeHochwerte=255",
                     "FarbeKritischwerte=33023",
                     "FarbeTiefwerte=16711680",
                     "KurvenFarbe=8388608",
                     "MittelKurvenFarbe=32768",
                     "StiftBreite=2",
                     "Grafikformat=DINA4",
                     "BE_Einheit=1",
                     "CT_Therapie=0",
                     "Tagebuch_sichtbar=1",
                     "FensterPosTop=39",
                     "FensterPosLinks=39",
                     "FensterBreite=1000",
                     "FensterHoehe=780"};
    return l + extra;
}

QString reading(MeasurementSlot slot, int day, int month, int year, const QString &time,
                int value) {
    return entryline::format(slot, QStringLiteral("%1").arg(day, 2, 10, QChar(u'0')),
                             QStringLiteral("%1").arg(month, 2, 10, QChar(u'0')),
                             QString::number(year), time, QString::number(value));
}

QByteArray monthFile(const QString &user, int month, int year, const QStringList &entries,
                     bool eight) {
    monthtable::WriteRequest req;
    req.entries = entries;
    req.userName = user;
    req.month = QStringLiteral("%1").arg(month, 2, 10, QChar(u'0'));
    req.year = QString::number(year);
    req.fourSlots = !eight;
    req.eightSlots = eight;
    return testutil::crlf(monthtable::compose(req, monthtable::Margins()));
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
    templatepicture::graphTemplate(MeasureMode::Four).save(m_dir.file("Grafik4.bmp"), "BMP");
    templatepicture::graphTemplate(MeasureMode::Eight).save(m_dir.file("Grafik8.bmp"), "BMP");
    templatepicture::legend().save(m_dir.file("M_einheit.bmp"), "BMP");
    templatepicture::header().save(m_dir.file("Header.bmp"), "BMP");
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

QStringList twelveReadings(int month, int year) {
    const MeasurementSlot slotList[] = {MeasurementSlot::Morgens, MeasurementSlot::Messung2,
                                        MeasurementSlot::Messung3, MeasurementSlot::Abends};
    const char *times[] = {"07:00", "12:00", "18:00", "22:00"};
    QStringList l;
    for (int d = 1; d <= 3; ++d)
        for (int s = 0; s < 4; ++s)
            l << reading(slotList[s], d, month, year, QString::fromLatin1(times[s]),
                         100 + 10 * d + s);
    return l;
}

StoredMonth::StoredMonth(const QStringList &settings, bool current)
    : month(QDate::currentDate().month()), year(QDate::currentDate().year()), f(settings),
      table(f.table(tableName(month, year), year)), stored(twelveReadings(month, year)),
      bytes(monthFile("Max Muster", month, year, stored)) {
    testutil::writeBytes(table, bytes);
    if (current) profile::write(f.ini(), "Einstellung", "TabellenDateiName", table);
}

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

void App::whenModal(const std::function<void(QWidget *)> &inside) {
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    QWidget *before = QApplication::activeModalWidget();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, inside, before] {
        QPointer<QWidget> m = QApplication::activeModalWidget();
        if (!m || m == before || !m->isVisible()) {
            if (clock->elapsed() > 10000) {
                ADD_FAILURE() << "no modal window opened";
                timer->stop();
                timer->deleteLater();
                delete clock;
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        delete clock;
        inside(m);
        if (m && m->isVisible()) {
            ADD_FAILURE() << "modal window " << m->objectName().toStdString() << " was left open";
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
