#include "printing/myprintertableengine.h"

#include <QPrinter>

#include "printing/tableprint.h"

TMyPrinterTableEngine::TMyPrinterTableEngine(QPrinter *printer)
    : m_engine(new TMyPrinter(nullptr, printer)) {
    m_engine->setMasseinheit(muMillimeters);
    m_engine->setZoomPercent(35);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(11);
    m_engine->setFont(f);
    m_engine->setFontColor(Qt::black);
}

TMyPrinterTableEngine::~TMyPrinterTableEngine() {
    delete m_engine.data();
}

bool TMyPrinterTableEngine::Print() {
    // The engine makes the copies itself and sets the printer's count to 1,
    // so what the user chose in the print dialog is carried over here.
    QPrinter *pr = m_engine->printer();
    m_engine->setCopies(unsigned(std::max(1, pr->copyCount())));
    m_engine->setCollate(pr->collateCopies());
    if (pr->printRange() == QPrinter::PageRange) {
        m_engine->setToPage(0);
        m_engine->setFromPage(pr->fromPage());
        m_engine->setToPage(pr->toPage());
    } else {
        m_engine->setToPage(0);
        m_engine->setFromPage(0);
    }
    return m_engine->Print();
}

void TMyPrinterTableEngine::writeDocument(const QStringList &lines) {
    tableprint::writeDocument(*m_engine, lines);
}

void TMyPrinterTableEngine::setPageNumber(int n) {
    if (n >= 1 && n <= m_engine->PageCount()) m_engine->setPageNumber(n);
}
