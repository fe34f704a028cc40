#pragma once
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

// Reading back PDF files with poppler's tools and checking them with qpdf.
namespace pdftools {

inline bool available() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

inline QString run(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// Value of a pdfinfo line such as "Pages" or "Page size".
inline QString info(const QString &pdf, const QString &field) {
    const QString out = run(QStringLiteral("pdfinfo"), {pdf});
    for (const QString &line : out.split(u'\n'))
        if (line.startsWith(field + u':')) return line.mid(field.size() + 1).trimmed();
    return {};
}

inline int pages(const QString &pdf) {
    return info(pdf, QStringLiteral("Pages")).toInt();
}

// Page n (1-based) rendered at the given resolution.
inline QImage render(const QString &pdf, int page, int dpi) {
    QTemporaryDir dir;
    const QString base = dir.path() + QStringLiteral("/page");
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
         QString::number(page), QStringLiteral("-l"), QString::number(page),
         QStringLiteral("-singlefile"), pdf, base});
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// Bounding box of the pixels darker than mid grey.
inline QRect darkBox(const QImage &img) {
    int l = img.width(), t = img.height(), r = -1, b = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                l = std::min(l, x);
                t = std::min(t, y);
                r = std::max(r, x);
                b = std::max(b, y);
            }
    return r < 0 ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

// All four tools the PDF checks use are installed.
inline bool haveTools() {
    for (const char *tool : {"qpdf", "pdftotext", "pdftoppm", "pdfinfo"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
    return true;
}

// qpdf's structural check of the file.
inline bool valid(const QString &pdf, QString *report = nullptr) {
    QProcess p;
    p.start(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf});
    p.waitForFinished(60000);
    if (report) *report = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The text of one page (1-based), or of all pages when page is 0.
inline QString text(const QString &pdf, int page = 0, bool layout = false) {
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (layout) args << QStringLiteral("-layout");
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    args << pdf << QStringLiteral("-");
    return run(QStringLiteral("pdftotext"), args);
}

} // namespace pdftools
