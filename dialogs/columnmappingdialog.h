#pragma once
#include <QDialog>

#include "import/columnmapping.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The step before the import of a CSV file of unknown form: which columns
// hold the date, the time (or date and time together) and the values, the
// order of day and month and the unit, with the first lines of the file to
// look at.
class ColumnMappingDialog : public QDialog {
    Q_OBJECT
public:
    explicit ColumnMappingDialog(QWidget *parent = nullptr);

    // Shows the file's first lines and the mapping to start from.
    void setFile(const QString &path, const importer::CsvPreview &preview,
                 const importer::ColumnMapping &mapping);
    // The mapping as chosen now.
    importer::ColumnMapping mapping() const;

signals:
    // "Weiter": the mapping is to be tried; the dialog stays open until
    // the one who asked closes it.
    void nextRequested();

private:
    // Lets "Weiter" act only with a date column and a value column.
    void updateNext();

    QLabel *m_file;
    QComboBox *m_date, *m_time, *m_value, *m_sensor, *m_order, *m_unit;
    QTableWidget *m_preview;
    QPushButton *m_next;
};
