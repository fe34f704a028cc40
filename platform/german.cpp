#include "german.h"

#include <QCoreApplication>
#include <QDate>
#include <QLibraryInfo>
#include <QTranslator>

#include "filedialog.h"

namespace german {

namespace {

struct Installed {
    QTranslator *translator = nullptr;
    GermanFileDialogs *fileDialogs = nullptr;
    QLocale previousDefault;
    bool previousNative = false;
    bool active = false;
};

Installed &installed() {
    static Installed i;
    return i;
}

} // namespace

const QLocale &locale() {
    static const QLocale l = [] {
        QLocale g(QLocale::German, QLocale::Germany);
        g.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
        return g;
    }();
    return l;
}

QString date(const QDate &d) {
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}

QString longDate(const QDate &d) {
    return locale().toString(d, QStringLiteral("dddd, d. MMMM yyyy"));
}

QString weekday(const QDate &d) {
    return d.isValid() ? locale().dayName(d.dayOfWeek(), QLocale::LongFormat) : QString();
}

QString shortWeekday(const QDate &d) {
    return d.isValid() ? weekday(d).left(2) + u'.' : QString();
}

QString number(double v, int decimals) {
    return locale().toString(v, 'f', decimals);
}

double toNumber(const QString &text, bool *ok) {
    QString t = text.trimmed();
    if (t.count(u'.') == 1 && !t.contains(u',')) t.replace(u'.', u',');
    return locale().toDouble(t, ok);
}

bool setUp() {
    Installed &i = installed();
    if (!i.active) {
        i.previousDefault = QLocale();
        i.previousNative = !QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs);
        i.active = true;
    }
    QLocale::setDefault(locale());
    // A native file or colour dialog of the desktop would speak the system's language.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
    if (!i.fileDialogs) {
        i.fileDialogs = new GermanFileDialogs(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(i.fileDialogs);
    }
    if (i.translator) return true;
    auto *t = new QTranslator(QCoreApplication::instance());
    if (!t->load(locale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    i.translator = t;
    return true;
}

void tearDown() {
    Installed &i = installed();
    if (!i.active) return;
    if (i.translator) {
        QCoreApplication::removeTranslator(i.translator);
        delete i.translator;
        i.translator = nullptr;
    }
    delete i.fileDialogs;
    i.fileDialogs = nullptr;
    QLocale::setDefault(i.previousDefault);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, !i.previousNative);
    i.active = false;
}

} // namespace german
