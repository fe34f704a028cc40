#pragma once
#include <QByteArray>
#include <QString>

// Windows-1252 conversion with a table of our own, so every byte value
// round-trips: the five bytes the code page leaves undefined map to the C1
// control characters of the same number.
namespace win1252 {

QString decode(const QByteArray &bytes);
// Characters outside the code page become "?".
QByteArray encode(const QString &text);
// Whether the text can be written without loss.
bool encodable(const QString &text);
// The distinct characters of the text that the code page cannot hold, in the
// order they first appear.
QString unencodable(const QString &text);
// The question shown before a text with such characters is stored: they
// would be written as "?". `what` names the text ("Die Tagebuchseite").
QString lossQuestion(const QString &what, const QString &text);

} // namespace win1252
