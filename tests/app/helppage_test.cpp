#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTextStream>

#include "cli/commands.h"
#include "platform/win1252.h"
#include "scenario.h"

namespace {

QString helpPage() {
    return win1252::decode(testutil::readBytes(testutil::beside("Glykovalin-Hilfe.htm")));
}

// A caption as the help page writes it: no accelerator mark.
QString plain(QString caption) {
    return caption.remove(u'&');
}

} // namespace

// Every entry of the running program's menus, with the submenu it lies in,
// is named on the help page, so a new command cannot ship unexplained.
TEST(HelpPage, NamesEveryMenuEntryOfTheProgram) {
    scenario::Folder folder;
    scenario::App app;
    const QString page = helpPage();
    ASSERT_FALSE(page.isEmpty());
    int entries = 0;
    for (QAction *top : app.window().menuBar()->actions()) {
        const QString topCaption = plain(top->text());
        EXPECT_TRUE(page.contains(topCaption)) << topCaption.toStdString();
        if (!top->menu()) continue;
        for (QAction *a : top->menu()->actions()) {
            if (a->isSeparator()) continue;
            QString caption = plain(a->text());
            if (a->menu()) {
                for (QAction *sub : a->menu()->actions()) {
                    const QString path = caption + QStringLiteral(" › ") + plain(sub->text());
                    EXPECT_TRUE(page.contains(path)) << path.toStdString();
                    ++entries;
                }
                continue;
            }
            EXPECT_TRUE(page.contains(caption)) << caption.toStdString();
            ++entries;
        }
    }
    EXPECT_GE(entries, 20);
}

// Every command of glykovalin-cli's usage text is shown on the help page.
TEST(HelpPage, NamesEveryHeadlessCommand) {
    QString usage;
    QTextStream out(&usage), err(&usage);
    ASSERT_EQ(cli::run({QStringLiteral("--help")}, out, err), 0);
    const QString page = helpPage();
    static const QRegularExpression commandLine(QStringLiteral("^  ([a-z][a-z-]+) "),
                                                QRegularExpression::MultilineOption);
    int commands = 0;
    for (auto m = commandLine.globalMatch(usage); m.hasNext(); ++commands) {
        const QString name = m.next().captured(1);
        const QRegularExpression shown(QStringLiteral("<code>(glykovalin-cli )?%1[ <]").arg(name));
        EXPECT_TRUE(page.contains(shown)) << name.toStdString();
    }
    EXPECT_GE(commands, 13);
}
