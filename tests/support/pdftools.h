#pragma once
#include <QFontInfo>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Reading back PDF files with poppler's tools and checking them with qpdf.
namespace pdftools {

// The tools named are all installed.
inline bool installed(std::initializer_list<const char *> tools) {
    for (const char *tool : tools)
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) return false;
    return true;
}

inline bool available() {
    return installed({"pdfinfo", "pdftoppm"});
}

// Runs a tool to its end: its standard output, and in `ok` whether it ended
// with status 0.
inline QString run(const QString &program, const QStringList &args, bool *ok = nullptr) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    if (ok) *ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
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

// The arguments that keep a poppler tool to one page (1-based); none for 0,
// all pages.
inline QStringList onePage(int page) {
    if (page <= 0) return {};
    return {"-f", QString::number(page), "-l", QString::number(page)};
}

// Page n (1-based) rendered at the given resolution.
inline QImage render(const QString &pdf, int page, int dpi) {
    QTemporaryDir dir;
    const QString base = dir.path() + QStringLiteral("/page");
    run(QStringLiteral("pdftoppm"), QStringList{"-png", "-r", QString::number(dpi)} +
                                        onePage(page) + QStringList{"-singlefile", pdf, base});
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
    return installed({"qpdf", "pdftotext", "pdftoppm", "pdfinfo"});
}

// qpdf's structural check of the file.
inline bool valid(const QString &pdf, QString *report = nullptr) {
    bool ok = false;
    const QString out = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), pdf}, &ok);
    if (report) *report = out;
    return ok;
}

// The text of one page (1-based), or of all pages when page is 0.
inline QString text(const QString &pdf, int page = 0, bool layout = false) {
    QStringList args{"-enc", "UTF-8"};
    if (layout) args << "-layout";
    args << onePage(page) << pdf << "-";
    return run(QStringLiteral("pdftotext"), args);
}

// The documents' font is installed ("Arial" resolves to Liberation Sans);
// without it Qt draws empty boxes.
inline bool haveFonts() {
    const QString family = QFontInfo(QFont(QStringLiteral("Arial"))).family();
    return family.contains(QStringLiteral("Liberation")) ||
           family.contains(QStringLiteral("Arial"));
}

// A word with its box as pdftotext reports it: points from the top left
// corner, times the scale asked for.
struct Word {
    double xMin, yMin, xMax, yMax;
    QString text;
};

// The words of page `page` (1-based), or of all pages when it is 0.
inline QList<Word> words(const QString &pdf, int page = 0, double scale = 1) {
    const QString html = run(QStringLiteral("pdftotext"),
                             QStringList{"-bbox"} + onePage(page) + QStringList{pdf, "-"});
    static const QRegularExpression re(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QList<Word> out;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out.append({m.captured(1).toDouble() * scale, m.captured(2).toDouble() * scale,
                    m.captured(3).toDouble() * scale, m.captured(4).toDouble() * scale,
                    m.captured(5)});
    }
    return out;
}

} // namespace pdftools
