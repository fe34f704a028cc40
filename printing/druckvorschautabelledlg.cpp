#include "druckvorschautabelledlg.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <exception>
#include <limits>

#include "platform/profile.h"
#include "platform/ui.h"
#include "printing/printfile.h"
#include "printing/tableprint.h"
#include "storage/monthmodel.h"
#include "storage/monthtable.h"

namespace {

constexpr int kMaxLeft = 19;
constexpr int kMaxRight = 10;
constexpr int kNoLimit = std::numeric_limits<int>::max();
constexpr int kWidth = 640;
constexpr int kHeight = 606;
// Where the preview stands; the margin fields sit at its four sides.
const QRect kPreview(92, 40, 456, 468);

QSpinBox *marginField(QWidget *parent, const char *name, const QString &caption, QRect field,
                      QRect label, Qt::Alignment align) {
    auto *s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, 999);
    s->setGeometry(field);
    auto *l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
    l->setGeometry(label);
    l->setAlignment(align);
    l->setBuddy(s);
    return s;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, QRect where) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(where);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TDruckvorschauTabelleDlg::TDruckvorschauTabelleDlg(const MonthModel &model, ui::Services &ui,
                                                   QWidget *parent)
    : QDialog(parent), m_model(model), m_ui(ui) {
    setObjectName(QStringLiteral("DruckvorschauTabelleDlg"));
    setWindowTitle(QStringLiteral("Druckvorschau"));
    setFixedSize(kWidth, kHeight);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(13);
    setFont(f);
    buildMarginFields();
    buildPaging();
    buildButtons();
    updatePageControls();
}

TDruckvorschauTabelleDlg::~TDruckvorschauTabelleDlg() = default;

void TDruckvorschauTabelleDlg::buildMarginFields() {
    const int midY = kPreview.center().y();
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignBottom;
    SpinEdit1 = marginField(this, "SpinEdit1", QStringLiteral("&Linker\nRand (mm):"),
                            QRect(14, midY + 4, 64, 24), QRect(2, midY - 34, 88, 36), centre);
    SpinEdit2 = marginField(this, "SpinEdit2", QStringLiteral("&Rechter\nRand (mm):"),
                            QRect(kWidth - 78, midY + 4, 64, 24),
                            QRect(kWidth - 90, midY - 34, 88, 36), centre);
    SpinEdit3 =
        marginField(this, "SpinEdit3", QStringLiteral("&Oberer Rand (mm):"),
                    QRect(kWidth / 2 + 4, 8, 64, 24), QRect(kWidth / 2 - 164, 8, 160, 24), right);
    SpinEdit4 = marginField(this, "SpinEdit4", QStringLiteral("&Unterer Rand (mm):"),
                            QRect(kWidth / 2 + 4, kPreview.bottom() + 6, 64, 24),
                            QRect(kWidth / 2 - 164, kPreview.bottom() + 6, 160, 24), right);
    const struct {
        QSpinBox *field;
        void (TablePrintEngine::*apply)(double);
        int limit;
    } fields[] = {{SpinEdit1, &TablePrintEngine::setRandLeft, kMaxLeft},
                  {SpinEdit2, &TablePrintEngine::setRandRight, kMaxRight},
                  {SpinEdit3, &TablePrintEngine::setRandTop, kNoLimit},
                  {SpinEdit4, &TablePrintEngine::setRandBottom, kNoLimit}};
    for (const auto &m : fields)
        connect(m.field, &QSpinBox::valueChanged, this,
                [this, m] { marginChanged(m.field, m.apply, m.limit); });
}

// Paging and zoom of the preview.
void TDruckvorschauTabelleDlg::buildPaging() {
    const int navY = kPreview.bottom() + 38;
    VorherigeSeiteBtn = button(this, "VorherigeSeiteBtn", QStringLiteral("< &Vorherige Seite"),
                               QRect(kPreview.left(), navY, 128, 25));
    SeitenLabel = new QLabel(this);
    SeitenLabel->setObjectName(QStringLiteral("SeitenLabel"));
    SeitenLabel->setAlignment(Qt::AlignCenter);
    SeitenLabel->setGeometry(kPreview.left() + 132, navY, 120, 25);
    NaechsteSeiteBtn = button(this, "NaechsteSeiteBtn", QStringLiteral("&Nächste Seite >"),
                              QRect(kPreview.left() + 256, navY, 128, 25));
    auto *zoomLabel = new QLabel(QStringLiteral("&Zoom:"), this);
    zoomLabel->setObjectName(QStringLiteral("ZoomLabel"));
    zoomLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    zoomLabel->setGeometry(kWidth - 150, navY, 50, 25);
    ZoomBox = new QComboBox(this);
    ZoomBox->setObjectName(QStringLiteral("ZoomBox"));
    for (int z : {25, 35, 50, 75, 100})
        ZoomBox->addItem(QStringLiteral("%1 %").arg(z), z);
    ZoomBox->setGeometry(kWidth - 96, navY, 84, 25);
    zoomLabel->setBuddy(ZoomBox);
    connect(VorherigeSeiteBtn, &QPushButton::clicked, this, [this] { showPage(-1); });
    connect(NaechsteSeiteBtn, &QPushButton::clicked, this, [this] { showPage(+1); });
    connect(ZoomBox, &QComboBox::currentIndexChanged, this, [this] {
        if (m_engine) m_engine->setZoomPercent(zoomPercent());
    });
}

void TDruckvorschauTabelleDlg::buildButtons() {
    const int buttonY = kPreview.bottom() + 70;
    BitBtn1 = button(this, "BitBtn1", QStringLiteral("Schrift"), QRect(8, buttonY, 80, 25));
    BitBtn2 =
        button(this, "BitBtn2", QStringLiteral("Farbe"), QRect(kPreview.left(), buttonY, 80, 25));
    OKBtn = button(this, "OKBtn", QStringLiteral("Drucken"), QRect(kWidth - 196, buttonY, 90, 25));
    CancelBtn = button(this, "CancelBtn", QStringLiteral("Abbrechen"),
                       QRect(kWidth - 100, buttonY, 90, 25));
    OKBtn->setDefault(true);
    // The font choice is not offered: the table's columns line up only in
    // the font they were made for.
    BitBtn1->hide();
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

void TDruckvorschauTabelleDlg::setEngine(std::unique_ptr<TablePrintEngine> engine) {
    m_engine = std::move(engine);
    MyPrinter2 = m_engine ? m_engine->widget() : nullptr;
    if (MyPrinter2) {
        MyPrinter2->setParent(this);
        MyPrinter2->setObjectName(QStringLiteral("MyPrinter2"));
        MyPrinter2->setGeometry(kPreview);
        MyPrinter2->show();
    }
    if (m_engine) m_engine->setTextColor(m_color);
    updatePageControls();
}

void TDruckvorschauTabelleDlg::writeDocument(const QStringList &lines) {
    // The page shown stays when the document is made anew.
    const int page = m_engine->pageNumber();
    m_engine->writeDocument(tableprint::documentLines(lines));
    if (page > 1) m_engine->setPageNumber(std::min(page, m_engine->pageCount()));
    updatePageControls();
}

void TDruckvorschauTabelleDlg::showPage(int step) {
    if (!m_engine) return;
    const int page = m_engine->pageNumber() + step;
    if (page >= 1 && page <= m_engine->pageCount()) m_engine->setPageNumber(page);
    updatePageControls();
}

int TDruckvorschauTabelleDlg::zoomPercent() const {
    return ZoomBox->currentData().toInt();
}

void TDruckvorschauTabelleDlg::setZoomField(int percent) {
    const QSignalBlocker block(ZoomBox);
    int index = ZoomBox->findData(percent);
    if (index < 0) {
        ZoomBox->addItem(QStringLiteral("%1 %").arg(percent), percent);
        index = ZoomBox->count() - 1;
    }
    ZoomBox->setCurrentIndex(index);
}

void TDruckvorschauTabelleDlg::updatePageControls() {
    const int count = m_engine ? m_engine->pageCount() : 0;
    const int page = m_engine ? m_engine->pageNumber() : 0;
    SeitenLabel->setText(QStringLiteral("Seite %1 von %2").arg(page).arg(count));
    VorherigeSeiteBtn->setEnabled(page > 1);
    NaechsteSeiteBtn->setEnabled(page >= 1 && page < count);
}

void TDruckvorschauTabelleDlg::printTable(const QStringList &lines) {
    if (prepareFromTable(lines)) exec();
}

bool TDruckvorschauTabelleDlg::prepareFromTable(const QStringList &lines) {
    m_lines = lines;
    if (!m_engine && m_makeEngine) setEngine(m_makeEngine());
    if (!m_engine) return false;
    printfile::propose(*m_engine->printer(), m_model.folders().base, m_model.tablePath(),
                       QStringLiteral("Tabelle"));
    if (!m_ui.printDialog(parentWidget(), m_engine->printer())) return false;
    return ui::guarded(m_ui, [&] {
        const tableprint::Margins m = tableprint::storedMargins(m_model.tablePath());
        QSpinBox *fields[] = {SpinEdit1, SpinEdit2, SpinEdit3, SpinEdit4};
        const int values[] = {m.left, m.right, m.top, m.bottom};
        for (int i = 0; i < 4; ++i) {
            const QSignalBlocker block(fields[i]);
            fields[i]->setValue(values[i]);
        }
        m_engine->setRandLeft(SpinEdit1->value());
        m_engine->setRandRight(SpinEdit2->value());
        m_engine->setRandTop(SpinEdit3->value());
        m_engine->setRandBottom(SpinEdit4->value());
        setZoomField(25);
        m_engine->setZoomPercent(25);
        m_engine->setPortrait();
        writeDocument(lines);
    });
}

void TDruckvorschauTabelleDlg::marginChanged(QSpinBox *field,
                                             void (TablePrintEngine::*apply)(double), int limit) {
    if (!m_engine) return;
    (m_engine.get()->*apply)(field->value());
    if (field->value() > limit) {
        field->setValue(limit); // applies the limit through this handler
        return;
    }
    VorschauNeuZeichnen();
}

void TDruckvorschauTabelleDlg::VorschauNeuZeichnen() {
    if (!m_engine) return;
    m_engine->setZoomPercent(zoomPercent());
    writeDocument(m_lines);
}

void TDruckvorschauTabelleDlg::storeMargins() {
    const QString table = m_model.tablePath();
    if (table.isEmpty()) return;
    const std::pair<const char *, QSpinBox *> fields[] = {{"DruckenTabellenRandLeft", SpinEdit1},
                                                          {"DruckenTabellenRandRight", SpinEdit2},
                                                          {"DruckenTabellenRandTop", SpinEdit3},
                                                          {"DruckenTabellenRandBottom", SpinEdit4}};
    bool ok = true;
    for (const auto &[key, field] : fields)
        ok = profile::write(table, monthtable::kSection, QString::fromLatin1(key), field->text()) &&
             ok;
    if (!ok)
        m_ui.showWarning(QStringLiteral("Die Druckränder konnten nicht in der Datei \"%1\" "
                                        "gespeichert werden.")
                             .arg(table));
}

void TDruckvorschauTabelleDlg::OKBtnClick() {
    if (!m_engine || !m_ui.printDialog(this, m_engine->printer())) {
        reject();
        return;
    }
    try {
        if (!m_engine->Print())
            m_ui.showInformation(QStringLiteral("Druckvorgang wurde abgebrochen."));
    } catch (const std::exception &e) {
        m_ui.showWarning(QStringLiteral("Die Tabelle konnte nicht gedruckt werden: ") +
                         QString::fromLocal8Bit(e.what()));
    }
    storeMargins();
    accept();
}

void TDruckvorschauTabelleDlg::BitBtn2Click() {
    QColor chosen = m_color;
    m_ui.chooseColor(this, m_color, chosen);
    m_color = chosen;
    emit textColorChosen(m_color);
    if (m_engine) m_engine->setTextColor(m_color);
    VorschauNeuZeichnen();
}
