#include "germaninterface.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "filedialog.h"
#include "german.h"

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
