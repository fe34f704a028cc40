#pragma once

// Qt's own texts (standard dialogs, the editors' context menus) in German
// whatever the system's language.
namespace german {

// Makes German the default locale and the language of Qt's own texts: loads
// Qt's German translations (from QLibraryInfo's translations folder) and uses
// Qt's dialogs instead of the desktop's native ones, which would follow the
// system's language. Returns false when the translations are not installed;
// the program then runs on with Qt's English texts. Needs the application
// object.
bool setUp();
// Takes back what setUp() did.
void tearDown();

} // namespace german
