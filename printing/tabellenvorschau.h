#pragma once
#include <QColor>
#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;
class QSpinBox;
class MonthModel;
namespace ui {
class Services;
}

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

// Preview of the table print with the four margins and the text colour;
// prints and keeps the margins in the month table file.
class TDruckvorschauTabelleDlg : public QDialog {
    Q_OBJECT
public:
    TDruckvorschauTabelleDlg(const MonthModel &session, ui::Services &ui,
                             QWidget *parent = nullptr);
    ~TDruckvorschauTabelleDlg() override;

    // Takes over the print engine and shows it as MyPrinter2.
    void setEngine(std::unique_ptr<TablePrintEngine> engine);
    // Makes the print engine at the first print instead: a printer loads the
    // system's print support, which the start of the program need not wait for.
    void setEngineMaker(std::function<std::unique_ptr<TablePrintEngine>()> make) {
        m_makeEngine = std::move(make);
    }
    TablePrintEngine *engine() const { return m_engine.get(); }

    // The table window's print command, up to showing the dialog: keeps the
    // table's lines for the previews, hides the
    // font button, runs the print dialog (proposing a PDF file in the base
    // folder when there is no printer), takes the margins of the current
    // table file and builds the first preview at 25 %. False when the print
    // dialog was cancelled (or a margin text is no number).
    bool prepareFromTable(const QStringList &lines);
    // The table's lines the previews show (prepareFromTable() sets them).
    void setLines(const QStringList &lines) { m_lines = lines; }

    void SpinEdit1Change();
    void SpinEdit2Change();
    void SpinEdit3Change();
    void SpinEdit4Change();
    void VorschauNeuZeichnen();
    void OKBtnClick();
    void BitBtn2Click();

    QColor textColor() const { return m_color; }

signals:
    // The colour button chose the text colour; the table window takes it.
    void textColorChosen(const QColor &color);

public:
    QWidget *MyPrinter2 = nullptr;
    QSpinBox *SpinEdit1 = nullptr; // left
    QSpinBox *SpinEdit2 = nullptr; // right
    QSpinBox *SpinEdit3 = nullptr; // top
    QSpinBox *SpinEdit4 = nullptr; // bottom
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QPushButton *BitBtn1 = nullptr; // font, hidden before each showing
    QPushButton *BitBtn2 = nullptr; // colour
    QPushButton *VorherigeSeiteBtn = nullptr;
    QPushButton *NaechsteSeiteBtn = nullptr;
    QLabel *SeitenLabel = nullptr; // "Seite n von m"
    QComboBox *ZoomBox = nullptr;

    // The zoom the preview is drawn at.
    int zoomPercent() const;

private:
    void writeDocument(const QStringList &lines);
    // Shows the previous (-1) or next (+1) page.
    void showPage(int step);
    void setZoomField(int percent);
    void updatePageControls();
    void storeMargins();

    const MonthModel &m_model;
    ui::Services &m_ui;
    QStringList m_lines; // the table's lines, taken by prepareFromTable()
    std::unique_ptr<TablePrintEngine> m_engine;
    std::function<std::unique_ptr<TablePrintEngine>()> m_makeEngine;
    QColor m_color = Qt::black;
    bool m_applying = false;
};
