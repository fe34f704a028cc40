#pragma once
#include <QDialog>

#include "import/importplan.h"

class MonthModel;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class ColumnMappingDialog;
namespace ui {
class Services;
}

// "Datei › Importieren › Messwerte aus Datei…": a file of a meter or portal
// is chosen, recognised by its content (or its columns are mapped, for a CSV
// file of unknown form), and the dialog shows what importing it would do:
// the format, the period, the readings found by source and per month what
// is added, what is there already, the conflicts and the readings without a
// slot. "Übernehmen" writes the months.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    ImportDialog(MonthModel &model, ui::Services &ui, QWidget *parent = nullptr);
    ~ImportDialog() override;

    // Asks for the file and shows the preview (or first the column mapping);
    // a file that cannot be read or is no file of readings gets a message.
    void start(QWidget *parent);

signals:
    // Readings were written; the newest month that got some.
    void imported(const QString &newestTablePath);

private:
    // Reads the chosen file; false (after a message) when it is of no use.
    bool openFile(const QString &path);
    // "Weiter" of the column mapping.
    void tryMapping();
    // Plans anew with the sensor choice and fills the preview; false (after
    // a message) when that failed.
    bool plan();
    void fillPreview();
    void applyClicked();
    importer::Options options() const;

    MonthModel &m_model;
    ui::Services &m_ui;
    QString m_path;
    QByteArray m_bytes;
    importer::SourceFile m_file;
    importer::Plan m_plan;
    QStringList m_header; // of a mapped file

    ColumnMappingDialog *m_mapping;
    QLabel *m_fileLabel, *m_format, *m_period, *m_found, *m_skipped, *m_status;
    QCheckBox *m_sensor;
    QTableWidget *m_months;
    QPlainTextEdit *m_details;
    QPushButton *m_apply;
};
