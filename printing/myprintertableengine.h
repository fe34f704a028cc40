#pragma once
#include <QPointer>

#include "printing/myprinter.h"
#include "printing/tableprintengine.h"

// The print engine as the table print preview uses it: margins in
// millimetres, and the copies, collation and page range chosen in the print
// dialog carried over into the engine's own copies when printing.
class TMyPrinterTableEngine : public TablePrintEngine {
public:
    // Makes its own engine (deleted with the adapter unless a parent took it).
    explicit TMyPrinterTableEngine(QPrinter *printer = nullptr);
    ~TMyPrinterTableEngine() override;

    TMyPrinter *engine() const { return m_engine; }

    QWidget *widget() override { return m_engine; }
    void setRandLeft(double mm) override { m_engine->setRandLeft(mm); }
    void setRandRight(double mm) override { m_engine->setRandRight(mm); }
    void setRandTop(double mm) override { m_engine->setRandTop(mm); }
    void setRandBottom(double mm) override { m_engine->setRandBottom(mm); }
    void setZoomPercent(int percent) override {
        m_engine->setZoomPercent(unsigned(std::max(1, percent)));
    }
    void setPortrait() override { m_engine->setOrientation(QPageLayout::Portrait); }
    void clearLines() override { m_engine->Lines.clear(); }
    void BeginDoc() override { m_engine->BeginDoc(); }
    void WriteLine(const QString &text) override { m_engine->WriteLine(text); }
    void EndDoc() override { m_engine->EndDoc(); }
    bool Print() override;
    void setTextColor(const QColor &color) override { m_engine->setFontColor(color); }
    QPrinter *printer() override { return m_engine->printer(); }
    // The month table's paged layout (tableprint::writeDocument).
    void writeDocument(const QStringList &lines) override;
    int pageCount() const override { return m_engine->PageCount(); }
    int pageNumber() const override { return m_engine->PageNumber(); }
    void setPageNumber(int n) override;

private:
    QPointer<TMyPrinter> m_engine;
};
