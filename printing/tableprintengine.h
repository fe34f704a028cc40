#pragma once
#include <QColor>
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

// What the table print preview asks of the paged print engine.
class TablePrintEngine {
public:
    virtual ~TablePrintEngine() = default;
    // The preview control shown in the dialog.
    virtual QWidget *widget() = 0;
    // Margins in millimetres.
    virtual void setRandLeft(double mm) = 0;
    virtual void setRandRight(double mm) = 0;
    virtual void setRandTop(double mm) = 0;
    virtual void setRandBottom(double mm) = 0;
    virtual void setZoomPercent(int percent) = 0;
    virtual void setPortrait() = 0;
    virtual void clearLines() = 0;
    virtual void BeginDoc() = 0;
    virtual void WriteLine(const QString &text) = 0;
    virtual void EndDoc() = 0;
    // False when printing stopped before the end.
    virtual bool Print() = 0;
    virtual void setTextColor(const QColor &color) = 0;
    // The printer the print dialog sets up.
    virtual QPrinter *printer() = 0;
    // Writes the lines as a new document; by default line by line between
    // BeginDoc and EndDoc.
    virtual void writeDocument(const QStringList &lines);
    // The document's pages and the one the preview shows (1-based, 0 = none).
    virtual int pageCount() const { return 0; }
    virtual int pageNumber() const { return 0; }
    virtual void setPageNumber(int) {}
};
