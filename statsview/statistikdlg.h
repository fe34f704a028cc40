#pragma once
#include <QDialog>
#include <QWidget>

#include "stats/collection.h"

class QTabWidget;
class QTableWidget;
class QLabel;
class QPushButton;

namespace statsview {

// Paints one of the two pictures of a set of figures: the stacked range bar
// (object name "Bereichsbalken") or the time-of-day profile ("Tageszeitenprofil").
class ChartWidget : public QWidget {
public:
    enum class Kind { RangeBar, Profile };
    ChartWidget(Kind kind, const stats::Figures &f, QWidget *parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *) override;

private:
    Kind m_kind;
    stats::Figures m_figures;
};

// The statistics window: one page for the shown month and one for the last
// three months (the period of the estimated HbA1c).
class TStatistikDlg : public QDialog {
public:
    struct Page {
        QString title; // tab caption
        stats::Collection collection;
        QStringList extraNotes; // e.g. months without a table
    };
    TStatistikDlg(const QList<Page> &pages, QWidget *parent = nullptr);

    QTabWidget *Seiten = nullptr;
    QPushButton *ArztberichtBtn = nullptr;
    QPushButton *SchliessenBtn = nullptr;

    // The figures table of a page (rows: caption, value, target).
    QTableWidget *figuresTable(int page) const;

private:
    QWidget *makePage(const Page &page);

    QList<QTableWidget *> m_figures; // per page
};

} // namespace statsview
