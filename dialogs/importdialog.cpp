#include "importdialog.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "columnmappingdialog.h"
#include "import/importreport.h"
#include "platform/ui.h"
#include "storage/monthmodel.h"

namespace {

// "1 Messwert", "5 Messwerte".
QString readings(int n) {
    return n == 1 ? QStringLiteral("1 Messwert") : QStringLiteral("%1 Messwerte").arg(n);
}

QLabel *label(QWidget *parent, const char *name) {
    auto *l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

} // namespace

ImportDialog::ImportDialog(MonthModel &model, ui::Services &ui, QWidget *parent)
    : QDialog(parent), m_model(model), m_ui(ui) {
    setObjectName(QStringLiteral("ImportDlg"));
    setWindowTitle(QStringLiteral("Messwerte aus Datei importieren"));
    m_mapping = new ColumnMappingDialog(this);
    m_fileLabel = label(this, "FileLabel");
    m_format = label(this, "FormatLabel");
    m_period = label(this, "PeriodLabel");
    m_found = label(this, "FoundLabel");
    m_sensor = new QCheckBox(QStringLiteral("&Sensorwerte übernehmen"), this);
    m_sensor->setObjectName(QStringLiteral("SensorCheck"));
    m_sensor->setToolTip(QStringLiteral("Ohne Haken werden nur Blutzuckerwerte übernommen."));
    m_months = new QTableWidget(0, 6, this);
    m_months->setObjectName(QStringLiteral("MonthTable"));
    m_months->setHorizontalHeaderLabels({QStringLiteral("Monat"), QStringLiteral("Tabelle"),
                                         QStringLiteral("neu"), QStringLiteral("doppelt"),
                                         QStringLiteral("Konflikte"),
                                         QStringLiteral("ohne Messzeitpunkt")});
    m_months->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_months->setSelectionMode(QAbstractItemView::NoSelection);
    m_months->verticalHeader()->hide();
    m_months->horizontalHeader()->setStretchLastSection(true);
    m_months->setMinimumWidth(600);
    m_skipped = label(this, "SkippedLabel");
    m_details = new QPlainTextEdit(this);
    m_details->setObjectName(QStringLiteral("DetailsText"));
    m_details->setReadOnly(true);
    m_details->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_status = label(this, "StatusLabel");
    m_apply = new QPushButton(QStringLiteral("Übernehmen"), this);
    m_apply->setObjectName(QStringLiteral("ApplyBtn"));
    m_apply->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_apply);
    buttons->addWidget(cancel);
    auto *box = new QVBoxLayout(this);
    for (QWidget *w : {static_cast<QWidget *>(m_fileLabel), static_cast<QWidget *>(m_format),
                       static_cast<QWidget *>(m_period), static_cast<QWidget *>(m_found),
                       static_cast<QWidget *>(m_sensor), static_cast<QWidget *>(m_months),
                       static_cast<QWidget *>(m_skipped)})
        box->addWidget(w);
    box->addWidget(m_details, 1);
    box->addLayout(buttons);
    resize(720, 560);
    connect(m_sensor, &QCheckBox::toggled, this, [this] {
        if (!plan()) reject();
    });
    connect(m_apply, &QPushButton::clicked, this, &ImportDialog::applyClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_mapping, &ColumnMappingDialog::nextRequested, this, &ImportDialog::tryMapping);
}

ImportDialog::~ImportDialog() = default;

importer::Options ImportDialog::options() const {
    importer::Options o;
    o.folders = m_model.folders();
    o.settings = m_model.settings();
    o.currentMode = m_model.mode();
    o.currentTablePath = m_model.tablePath();
    o.sensor = m_sensor->isChecked();
    return o;
}

void ImportDialog::start(QWidget *parent) {
    const QString path = m_ui.openFileName(
        parent, QStringLiteral("Messwerte aus Datei importieren"), m_model.folders().base,
        QStringLiteral("Messwert-Dateien (*.csv *.txt *.tsv *.json);;Alle Dateien (*)"));
    if (path.isEmpty()) return;
    {
        const QSignalBlocker quiet(m_sensor);
        m_sensor->setChecked(false);
    }
    if (!openFile(path)) return;
    if (m_file.format == importer::Format::MappedCsv) return; // the mapping comes first
    if (plan()) open();
}

bool ImportDialog::openFile(const QString &path) {
    m_path = path;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        importer::SourceFile unused;
        m_ui.showWarning(importer::readFile(path, unused).error);
        return false;
    }
    m_bytes = f.readAll();
    const importer::ReadResult read = importer::readBytes(path, m_bytes, m_file);
    if (read) return true;
    importer::CsvPreview preview;
    if (read.status != importer::ReadStatus::UnknownCsv || !importer::previewOf(m_bytes, preview)) {
        m_ui.showWarning(read.error);
        return false;
    }
    // A CSV file of unknown form: its columns are mapped first, starting
    // from the mapping remembered for its header or from a guess.
    m_header = preview.header;
    m_file.format = importer::Format::MappedCsv;
    importer::ColumnMapping mapping;
    if (!importer::rememberedMapping(m_model.settings(), m_header, mapping))
        mapping = importer::guessMapping(preview);
    m_mapping->setFile(path, preview, mapping);
    m_mapping->open();
    return true;
}

void ImportDialog::tryMapping() {
    const importer::ColumnMapping mapping = m_mapping->mapping();
    const importer::ReadResult read = importer::readMapped(m_path, m_bytes, mapping, m_file);
    if (!read) {
        m_ui.showWarning(read.error);
        return;
    }
    QString error;
    if (!importer::rememberMapping(m_model.settings(), m_header, mapping, &error))
        m_ui.showWarning(error);
    m_mapping->accept();
    if (plan()) open();
}

bool ImportDialog::plan() {
    QString error;
    if (!importer::makePlan({m_file}, options(), m_plan, error)) {
        m_ui.showWarning(error);
        return false;
    }
    fillPreview();
    return true;
}

void ImportDialog::fillPreview() {
    const importer::Totals t = m_plan.totals();
    m_fileLabel->setText(QStringLiteral("Datei: %1").arg(m_path));
    m_format->setText(QStringLiteral("Erkannt: %1").arg(importer::formatName(m_file)));
    m_period->setText(
        QStringLiteral("Zeitraum: %1").arg(importer::periodText(m_plan.first, m_plan.last)));
    m_found->setText(QStringLiteral("Gefunden: %1").arg(importer::foundText(t)));
    m_months->setRowCount(int(m_plan.months.size()));
    for (int r = 0; r < m_plan.months.size(); ++r) {
        const importer::MonthPlan &m = m_plan.months.at(r);
        const QString cells[] = {m.title(),
                                 m.exists ? m.fileName() : m.fileName() + QStringLiteral(" (neu)"),
                                 QString::number(m.added.size()),
                                 QString::number(m.duplicates),
                                 QString::number(m.conflicts.size()),
                                 QString::number(m.outside.size())};
        for (int c = 0; c < 6; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c >= 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_months->setItem(r, c, item);
        }
    }
    m_months->resizeColumnsToContents();
    m_skipped->setText(importer::skippedText(t));
    QStringList details;
    for (const importer::MonthPlan &m : m_plan.months)
        details << QStringLiteral("Messzeitpunkte %1 (bis zu %2 je Tag): %3")
                       .arg(m.title())
                       .arg(m.mode == MeasureMode::Four ? 4 : 8)
                       .arg(importer::slotTimesText(m.times));
    details << importer::detailLines(m_plan.months);
    m_details->setPlainText(details.join(u'\n'));
    m_apply->setEnabled(m_plan.hasAdditions());
    m_sensor->setEnabled(m_file.found[int(importer::Source::Scan)] +
                             m_file.found[int(importer::Source::History)] >
                         0);
    m_status->setText(m_plan.hasAdditions()
                          ? readings(t.imported) + QStringLiteral(" zu übernehmen.")
                          : QStringLiteral("Es gibt nichts Neues zu übernehmen."));
}

void ImportDialog::applyClicked() {
    const importer::ApplyResult done = importer::apply(m_plan, options());
    const importer::Totals t = done.totals(m_plan);
    if (!done.ok()) {
        m_ui.showWarning(done.error);
    } else {
        QStringList names;
        for (const QString &p : done.written)
            names << QFileInfo(p).fileName();
        QString text = readings(t.imported) +
                       QStringLiteral(" übernommen (%1).").arg(names.join(QStringLiteral(", ")));
        if (t.conflicts > 0)
            text += QStringLiteral(" Konflikte mit einem anderen Wert in der Tabelle: %1; "
                                   "der Wert in der Tabelle bleibt.")
                        .arg(t.conflicts);
        m_ui.showInformation(text);
    }
    if (!done.written.isEmpty()) emit imported(done.written.last());
    accept();
}
