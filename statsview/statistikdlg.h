#pragma once
#include <QDialog>
#include <QWidget>

#include "stats/collection.h"

class QTabWidget;
class QTableWidget;
class QLabel;
class QPushButton;

namespace statsview {

// Paints the stacked range bar of a set of figures.
class RangeBarWidget : public QWidget {
public:
    explicit RangeBarWidget(const stats::Figures &f, QWidget *parent = nullptr);
    QSize sizeHint() const override { return {380, 270}; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    stats::Figures m_figures;
};

// Paints the time-of-day profile of a set of figures.
class ProfileWidget : public QWidget {
public:
    explicit ProfileWidget(const stats::Figures &f, QWidget *parent = nullptr);
    QSize sizeHint() const override { return {460, 230}; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
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
};

} // namespace statsview
