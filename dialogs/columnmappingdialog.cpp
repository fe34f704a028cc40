#include "columnmappingdialog.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

ColumnMappingDialog::ColumnMappingDialog(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ColumnMappingDlg"));
    setWindowTitle(QStringLiteral("Spalten der Datei zuordnen"));
    m_file = new QLabel(this);
    m_file->setObjectName(QStringLiteral("FileLabel"));
    m_file->setWordWrap(true);
    auto *hint = new QLabel(QStringLiteral("Die Form dieser Datei ist nicht bekannt. Bitte geben "
                                           "Sie an, in welchen Spalten Datum, Uhrzeit und "
                                           "Messwerte stehen. Die Zuordnung wird für Dateien "
                                           "mit derselben Kopfzeile gemerkt."),
                            this);
    hint->setObjectName(QStringLiteral("HintLabel"));
    hint->setWordWrap(true);
    auto combo = [this](const char *name) {
        auto *c = new QComboBox(this);
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };
    m_date = combo("DateColumnBox");
    m_time = combo("TimeColumnBox");
    m_value = combo("ValueColumnBox");
    m_sensor = combo("SensorColumnBox");
    m_order = combo("DateOrderBox");
    for (importer::DateOrder o :
         {importer::DateOrder::DayMonthYear, importer::DateOrder::MonthDayYear,
          importer::DateOrder::YearMonthDay})
        m_order->addItem(importer::orderName(o), int(o));
    m_unit = combo("UnitBox");
    m_unit->addItems({QStringLiteral("mg/dl"), QStringLiteral("mmol/l")});
    auto *form = new QFormLayout;
    const std::pair<const char *, QWidget *> rows[] = {{"&Datum (oder Datum und Uhrzeit):", m_date},
                                                       {"&Uhrzeit:", m_time},
                                                       {"&Blutzuckerwerte:", m_value},
                                                       {"&Sensorwerte:", m_sensor},
                                                       {"&Reihenfolge im Datum:", m_order},
                                                       {"&Einheit:", m_unit}};
    int n = 0;
    for (const auto &[text, field] : rows) {
        auto *label = new QLabel(QString::fromUtf8(text), this);
        label->setObjectName(QStringLiteral("MappingLabel%1").arg(++n));
        label->setBuddy(field);
        form->addRow(label, field);
    }
    auto *previewLabel = new QLabel(QStringLiteral("Die ersten Zeilen der Datei:"), this);
    previewLabel->setObjectName(QStringLiteral("PreviewLabel"));
    m_preview = new QTableWidget(this);
    m_preview->setObjectName(QStringLiteral("PreviewTable"));
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->verticalHeader()->hide();
    m_preview->setMinimumSize(560, 220);
    m_next = new QPushButton(QStringLiteral("&Weiter"), this);
    m_next->setObjectName(QStringLiteral("NextBtn"));
    m_next->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("MappingCancelBtn"));
    cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_next);
    buttons->addWidget(cancel);
    auto *box = new QVBoxLayout(this);
    box->addWidget(m_file);
    box->addWidget(hint);
    box->addLayout(form);
    box->addWidget(previewLabel);
    box->addWidget(m_preview, 1);
    box->addLayout(buttons);
    for (QComboBox *c : {m_date, m_time, m_value, m_sensor, m_order, m_unit})
        connect(c, &QComboBox::currentIndexChanged, this, &ColumnMappingDialog::updateNext);
    connect(m_next, &QPushButton::clicked, this, &ColumnMappingDialog::nextRequested);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ColumnMappingDialog::setFile(const QString &path, const importer::CsvPreview &preview,
                                const importer::ColumnMapping &m) {
    m_file->setText(QStringLiteral("Datei: %1").arg(path));
    QStringList columns;
    for (qsizetype i = 0; i < preview.header.size(); ++i)
        columns << QStringLiteral("%1: %2").arg(i + 1).arg(
            preview.header.at(i).isEmpty() ? QStringLiteral("(ohne Namen)") : preview.header.at(i));
    // Each box: its "none" entry (data -1), then the columns by their number.
    const auto fill = [&columns](QComboBox *box, const QString &none, int column) {
        const QSignalBlocker quiet(box);
        box->clear();
        box->addItem(none, -1);
        for (int i = 0; i < columns.size(); ++i)
            box->addItem(columns.at(i), i);
        box->setCurrentIndex(std::max(0, box->findData(column)));
    };
    fill(m_date, QStringLiteral("(keine)"), m.dateColumn);
    fill(m_time, QStringLiteral("(steht beim Datum)"), m.timeColumn);
    fill(m_value, QStringLiteral("(keine)"), m.valueColumn);
    fill(m_sensor, QStringLiteral("(keine)"), m.sensorColumn);
    m_order->setCurrentIndex(m_order->findData(int(m.order)));
    m_unit->setCurrentIndex(m.mmol ? 1 : 0);
    m_preview->clear();
    m_preview->setColumnCount(int(preview.header.size()));
    m_preview->setHorizontalHeaderLabels(preview.header);
    m_preview->setRowCount(int(preview.rows.size()));
    for (int r = 0; r < preview.rows.size(); ++r)
        for (int c = 0; c < preview.rows.at(r).size() && c < preview.header.size(); ++c)
            m_preview->setItem(r, c, new QTableWidgetItem(preview.rows.at(r).at(c)));
    m_preview->resizeColumnsToContents();
    updateNext();
}

importer::ColumnMapping ColumnMappingDialog::mapping() const {
    importer::ColumnMapping m;
    m.dateColumn = m_date->currentData().toInt();
    m.timeColumn = m_time->currentData().toInt();
    m.valueColumn = m_value->currentData().toInt();
    m.sensorColumn = m_sensor->currentData().toInt();
    m.order = importer::DateOrder(m_order->currentData().toInt());
    m.mmol = m_unit->currentIndex() == 1;
    return m;
}

void ColumnMappingDialog::updateNext() {
    m_next->setEnabled(mapping().isComplete());
}
