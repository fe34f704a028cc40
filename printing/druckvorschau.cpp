#include "druckvorschau.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>

#include "platform/machpause.h"
#include "platform/picturebox.h"
#include "platform/ui.h"
#include "printing/printfile.h"
#include "storage/monthmodel.h"
#include "storage/settingsstore.h"

using graphprint::Format;

namespace {

constexpr int kLandscapeW = 310;
constexpr int kLandscapeH = 160;

QString head() {
    return QStringLiteral("\r\nAktuelle Einstellungen sind:\r\n") + QString(43, u'-') +
           QStringLiteral("\r\n\r\n");
}

QString forMemo(const QString &text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

} // namespace

QString TDruckvorschau::descriptionA4() {
    return head() + QStringLiteral("Papiergrösse ist DIN A-4.\r\n\r\n"
                                   "Die Grafik wird an DIN A-4 angepasst.\r\n\r\n"
                                   "Linker Rand ~25 mm. Rechter Rand ~ 20 mm. Oberer und unterer "
                                   "Rand ~ 20 mm.");
}

QString TDruckvorschau::descriptionA5() {
    return head() + QStringLiteral("Papiergrösse ist DIN A-5 quer in Drucker eingelegt. Die Grafik "
                                   "wird an DIN A-5 angepasst. Linker und rechter Rand ~ 16 "
                                   "mm.Oberer und unterer Rand ~ 16 mm.");
}

QString TDruckvorschau::descriptionA6() {
    return head() + QStringLiteral("Papiergrösse ist DIN A-6 quer in Drucker eingelegt. Die Grafik "
                                   "wird an DIN A-6 angepasst. Linker und rechter Rand ~ 7 "
                                   "mm.Oberer und unterer Rand ~ 7 mm.");
}

TDruckvorschau::TDruckvorschau(MonthModel &model, ui::Services &ui, QWidget *parent)
    : QDialog(parent), m_model(model), m_ui(ui) {
    setObjectName(QStringLiteral("Druckvorschau"));
    setWindowTitle(QStringLiteral("Druckvorschau"));
    setFixedSize(327, 436);

    DruckImage = new PictureBox(this);
    DruckImage->setObjectName(QStringLiteral("DruckImage"));
    DruckImage->setAutoSize(false);
    DruckImage->setStretch(true);
    TempImage = new PictureBox(this);
    TempImage->setObjectName(QStringLiteral("TempImage"));
    TempImage->setAutoSize(false);
    TempImage->hide();
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);

    Label2 = new QLabel(QStringLiteral("Grafikformat:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont underlined = Label2->font();
    underlined.setUnderline(true);
    Label2->setFont(underlined);
    Label2->setGeometry(8, 334, 150, 16);

    auto box = [this](const char *name, const QString &caption, int top) {
        auto *b = new QCheckBox(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(8, top, 150, 18);
        return b;
    };
    DIN4CheckBox = box("DIN4CheckBox", QStringLiteral("DIN A-4 (hoch)"), 352);
    DIN5CheckBox = box("DIN5CheckBox", QStringLiteral("DIN A-5 (quer)"), 372);
    DIN6CheckBox = box("DIN6CheckBox", QStringLiteral("DIN A-6 (quer)"), 392);
    connect(DIN4CheckBox, &QCheckBox::clicked, this,
            [this] { formatClick(DIN4CheckBox, DIN5CheckBox, DIN6CheckBox); });
    connect(DIN5CheckBox, &QCheckBox::clicked, this,
            [this] { formatClick(DIN5CheckBox, DIN4CheckBox, DIN6CheckBox); });
    connect(DIN6CheckBox, &QCheckBox::clicked, this,
            [this] { formatClick(DIN6CheckBox, DIN4CheckBox, DIN5CheckBox); });

    DruckenBtn = new QPushButton(QStringLiteral("&Drucken"), this);
    DruckenBtn->setObjectName(QStringLiteral("DruckenBtn"));
    DruckenBtn->setDefault(true);
    DruckenBtn->setGeometry(168, 360, 150, 25);
    CancelButton = new QPushButton(QStringLiteral("&Abbrechen"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(168, 396, 150, 25);
    connect(DruckenBtn, &QPushButton::clicked, this, [this] { DruckenBtnClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &TDruckvorschau::reject);

    MachPause1 = new TMachPause(this);
    MachPause1->setObjectName(QStringLiteral("MachPause1"));
    MachPause1->setInterval(1000);

    layoutLandscape(2);
}

TDruckvorschau::~TDruckvorschau() {
    delete m_ownPrinter;
}

QPrinter *TDruckvorschau::printer() const {
    if (m_printer) return m_printer;
    auto *self = const_cast<TDruckvorschau *>(this);
    if (!self->m_ownPrinter) self->m_ownPrinter = new QPrinter(QPrinter::HighResolution);
    return m_ownPrinter;
}

const QImage &TDruckvorschau::previewPicture() const {
    return DruckImage->picture();
}

const QImage &TDruckvorschau::composedPicture() const {
    return TempImage->picture();
}

void TDruckvorschau::showPreview(Mode mode) {
    compose(mode);
    exec();
}

void TDruckvorschau::pauseFor(int ms) {
    (m_pause ? m_pause : MachPause1)->Pause(ms);
}

void TDruckvorschau::layoutLandscape(int left) {
    DruckImage->setGeometry(left, 7, kLandscapeW, kLandscapeH);
    Memo1->setGeometry(left, DruckImage->y() + kLandscapeH + 2, kLandscapeW, kLandscapeH);
}

void TDruckvorschau::layoutUpright() {
    DruckImage->setGeometry(2, DruckImage->y(), kLandscapeH, kLandscapeW);
    Memo1->setGeometry(DruckImage->x() + kLandscapeH + 2, DruckImage->y(), kLandscapeH,
                       kLandscapeW);
}

QImage TDruckvorschau::pictureOf(const GraphArea::Shown &shown, Mode mode) const {
    if (mode == Mode::VisibleArea) {
        QImage area = shown.visibleArea;
        if (area.isNull()) area = QImage(1, 1, QImage::Format_RGB32);
        return graphprint::composeVisibleArea(
            area, shown.title, shown.titleFont,
            graphprint::limitMarks(m_model.folders().settings, m_model.unit()), shown.graphOrigin);
    }
    graphprint::MonthPictureParts parts(shown);
    if (parts.graph.isNull()) {
        parts.graph = QImage(200, 200, QImage::Format_RGB32);
        parts.graph.fill(Qt::white);
    }
    graphprint::addScaleAndLimits(parts, m_model.folders().base, m_model.folders().settings,
                                  m_model.unit());
    return graphprint::composeWholeMonth(parts);
}

void TDruckvorschau::compose(Mode mode) {
    // Let the main window repaint without the dialog before its picture is
    // taken.
    hide();
    pauseFor(500);
    const GraphArea::Shown shown = m_source ? m_source() : GraphArea::Shown();

    m_turn = 0;
    layoutLandscape(DruckImage->x());
    const QImage picture = pictureOf(shown, mode);
    DruckImage->setPicture(picture);
    TempImage->setPicture(picture);
    Memo1->clear();

    // The stored format is ticked as a click on its box would tick it.
    const graphprint::Format stored =
        graphprint::formatOf(m_model.settings().get(keys::Grafikformat));
    QCheckBox *boxes[] = {DIN4CheckBox, DIN5CheckBox, DIN6CheckBox};
    for (QCheckBox *b : boxes)
        b->setChecked(false);
    switch (stored) {
    case Format::A4:
        DIN4CheckBox->setChecked(true);
        formatClick(DIN4CheckBox, DIN5CheckBox, DIN6CheckBox);
        break;
    case Format::A5:
        DIN5CheckBox->setChecked(true);
        layoutLandscape(8);
        formatClick(DIN5CheckBox, DIN4CheckBox, DIN6CheckBox);
        break;
    case Format::A6:
        DIN6CheckBox->setChecked(true);
        layoutLandscape(8);
        formatClick(DIN6CheckBox, DIN4CheckBox, DIN5CheckBox);
        break;
    case Format::None:
        break;
    }
}

void TDruckvorschau::formatClick(QCheckBox *self, QCheckBox *other1, QCheckBox *other2) {
    // One box of the group always stays ticked.
    if (!other1->isChecked() && !other2->isChecked()) self->setChecked(true);
    if (!self->isChecked()) return;
    other1->setChecked(false);
    other2->setChecked(false);
    if (self == DIN4CheckBox) {
        if (m_turn == 0) {
            m_turn = 1;
            BitmapDrehen_90Grad();
        }
        Memo1->setPlainText(forMemo(descriptionA4()));
    } else {
        if (m_turn == 1) {
            m_turn = 2;
            BitmapDrehen_90Grad();
        }
        Memo1->setPlainText(forMemo(self == DIN5CheckBox ? descriptionA5() : descriptionA6()));
    }
}

void TDruckvorschau::BitmapDrehen_90Grad() {
    if (m_turn < 2) {
        if (m_turn == 0)
            layoutLandscape(DruckImage->x());
        else
            layoutUpright();
        DruckImage->setPicture(graphprint::turnClockwise(DruckImage->picture()));
        return;
    }
    m_turn = 0;
    DruckImage->setPicture(TempImage->picture());
    layoutLandscape(8);
}

Format TDruckvorschau::tickedFormat() const {
    if (DIN4CheckBox->isChecked()) return Format::A4;
    if (DIN5CheckBox->isChecked()) return Format::A5;
    if (DIN6CheckBox->isChecked()) return Format::A6;
    return Format::None;
}

void TDruckvorschau::storeFormat() {
    const Format f = tickedFormat();
    m_model.settings().set(keys::Grafikformat,
                           graphprint::formatText(f == Format::None ? Format::A4 : f));
}

void TDruckvorschau::DruckenBtnClick() {
    // Before the first choice no box is ticked: print as DIN A4.
    if (tickedFormat() == Format::None) {
        DIN4CheckBox->setChecked(true);
        formatClick(DIN4CheckBox, DIN5CheckBox, DIN6CheckBox);
    }
    const Format f = tickedFormat();
    storeFormat();
    QPrinter *pr = printer();
    graphprint::setPaper(*pr, f);
    printfile::propose(*pr, m_model.folders().base, m_model.tablePath(), QStringLiteral("Grafik"));
    if (m_ui.printDialog(this, pr)) {
        QString error;
        if (!graphprint::printPicture(*pr, DruckImage->picture(), f, &error))
            m_ui.showWarning(error.isEmpty()
                                 ? QStringLiteral("Der Drucker konnte nicht gestartet werden. "
                                                  "Die Grafik wurde nicht gedruckt.")
                                 : error);
    }
    accept();
}

void TDruckvorschau::reject() {
    storeFormat();
    QDialog::reject();
}
