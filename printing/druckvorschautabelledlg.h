#pragma once
#include <QColor>
#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>

#include "tableprintengine.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class MonthModel;
namespace ui {
class Services;
}

// Preview of the table print: the pages as the print engine lays them out,
// the four margins in millimetres at the preview's sides (left, right, top,
// bottom), paging, zoom and the text colour. "Drucken" prints and keeps the
// margins in the current month table file.
class TDruckvorschauTabelleDlg : public QDialog {
    Q_OBJECT
public:
    TDruckvorschauTabelleDlg(const MonthModel &model, ui::Services &ui, QWidget *parent = nullptr);
    ~TDruckvorschauTabelleDlg() override;

    // Takes over the print engine and shows its preview.
    void setEngine(std::unique_ptr<TablePrintEngine> engine);
    // Makes the print engine at the first print instead: a printer loads the
    // system's print support, which the start of the program need not wait for.
    void setEngineMaker(std::function<std::unique_ptr<TablePrintEngine>()> make) {
        m_makeEngine = std::move(make);
    }
    TablePrintEngine *engine() const { return m_engine.get(); }

    // The table window's print command: prepares the print (below) and shows
    // the preview modally.
    void printTable(const QStringList &lines);
    // Up to showing the preview: keeps the table's lines, runs the print
    // dialog (proposing a PDF file in the base folder when there is no
    // printer), takes the margins of the current table file and builds the
    // first preview at 25 %. False when the print dialog was cancelled or a
    // stored margin is no number.
    bool prepareFromTable(const QStringList &lines);

    QColor textColor() const { return m_color; }
    // The zoom the preview is drawn at.
    int zoomPercent() const;

signals:
    // The colour button chose the text colour; the table window takes it.
    void textColorChosen(const QColor &color);

private:
    void buildMarginFields();
    void buildPaging();
    void buildButtons();
    // A margin field changed: the engine takes it, a field above its limit
    // is set to the limit (which comes back here), then the preview is made
    // anew.
    void marginChanged(QSpinBox *field, void (TablePrintEngine::*apply)(double), int limit);
    void VorschauNeuZeichnen();
    void OKBtnClick();
    void BitBtn2Click();
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

    QWidget *MyPrinter2 = nullptr;
    QSpinBox *SpinEdit1 = nullptr; // left
    QSpinBox *SpinEdit2 = nullptr; // right
    QSpinBox *SpinEdit3 = nullptr; // top
    QSpinBox *SpinEdit4 = nullptr; // bottom
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QPushButton *BitBtn1 = nullptr; // font, not offered
    QPushButton *BitBtn2 = nullptr; // colour
    QPushButton *VorherigeSeiteBtn = nullptr;
    QPushButton *NaechsteSeiteBtn = nullptr;
    QLabel *SeitenLabel = nullptr; // "Seite n von m"
    QComboBox *ZoomBox = nullptr;
};
