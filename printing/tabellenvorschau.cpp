#include "tabellenvorschau.h"

#include <QPushButton>
#include <QSpinBox>
#include <exception>

#include "platform/profile.h"
#include "platform/ui.h"
#include "storage/appstate.h"
#include "storage/convert.h"
#include "storage/monthtable.h"

namespace {

constexpr int kMaxLeft = 19;
constexpr int kMaxRight = 10;

QSpinBox *marginField(QWidget *parent, const char *name, int x, int y) {
    auto *s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, 999);
    s->setGeometry(x, y, 56, 24);
    return s;
}

} // namespace

TDruckvorschauTabelleDlg::TDruckvorschauTabelleDlg(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DruckvorschauTabelleDlg"));
    setWindowTitle(QStringLiteral("Druckvorschau"));
    setFixedSize(523, 521);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(13);
    setFont(f);

    SpinEdit1 = marginField(this, "SpinEdit1", 2, 240);
    SpinEdit2 = marginField(this, "SpinEdit2", 523 - 58, 240);
    SpinEdit3 = marginField(this, "SpinEdit3", 233, 3);
    SpinEdit4 = marginField(this, "SpinEdit4", 233, 481);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, [this] { SpinEdit1Change(); });
    connect(SpinEdit2, &QSpinBox::valueChanged, this, [this] { SpinEdit2Change(); });
    connect(SpinEdit3, &QSpinBox::valueChanged, this, [this] { SpinEdit3Change(); });
    connect(SpinEdit4, &QSpinBox::valueChanged, this, [this] { SpinEdit4Change(); });

    auto button = [this](const char *name, const QString &caption, int x) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(x, 490, 75, 25);
        return b;
    };
    BitBtn1 = button("BitBtn1", QStringLiteral("Schrift"), 8);
    BitBtn2 = button("BitBtn2", QStringLiteral("Farbe"), 88);
    OKBtn = button("OKBtn", QStringLiteral("Drucken"), 520 - 160);
    CancelBtn = button("CancelBtn", QStringLiteral("Abbrechen"), 520 - 80);
    OKBtn->setDefault(true);
    // The font choice is not offered: the table's columns line up only in
    // the font they were made for.
    BitBtn1->hide();
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

TDruckvorschauTabelleDlg::~TDruckvorschauTabelleDlg() = default;

void TDruckvorschauTabelleDlg::setEngine(std::unique_ptr<TablePrintEngine> engine) {
    m_engine = std::move(engine);
    MyPrinter2 = m_engine ? m_engine->widget() : nullptr;
    if (MyPrinter2) {
        MyPrinter2->setParent(this);
        MyPrinter2->setObjectName(QStringLiteral("MyPrinter2"));
        MyPrinter2->setGeometry(17, 30, 489, 448);
        MyPrinter2->show();
        // The margin fields stand over the preview's edges.
        for (QSpinBox *field : {SpinEdit1, SpinEdit2, SpinEdit3, SpinEdit4})
            field->raise();
    }
    if (m_engine) m_engine->setTextColor(m_color);
}

void TDruckvorschauTabelleDlg::writeDocument(const QStringList &lines) {
    m_engine->clearLines();
    m_engine->BeginDoc();
    m_engine->WriteLine(QStringLiteral("    "));
    m_engine->WriteLine(QStringLiteral("    "));
    for (const QString &line : lines)
        m_engine->WriteLine(line);
    m_engine->EndDoc();
}

bool TDruckvorschauTabelleDlg::prepareFromTable(const QStringList &lines) {
    BitBtn1->hide();
    if (!m_engine) return false;
    if (!ui::services().printDialog(parentWidget(), m_engine->printer())) return false;
    const QString table = appState().CurrentTablePath;
    auto margin = [&table](const char *key) {
        const QString v = profile::read(table, monthtable::kSection, QString::fromLatin1(key));
        return convert::toInt(v.isEmpty() ? QStringLiteral("10") : v, QString::fromLatin1(key));
    };
    return convert::guarded([&] {
        const int left = margin("DruckenTabellenRandLeft");
        const int right = margin("DruckenTabellenRandRight");
        const int top = margin("DruckenTabellenRandTop");
        const int bottom = margin("DruckenTabellenRandBottom");
        m_applying = true;
        SpinEdit1->setValue(left);
        SpinEdit2->setValue(right);
        SpinEdit3->setValue(top);
        SpinEdit4->setValue(bottom);
        m_applying = false;
        m_engine->setRandLeft(SpinEdit1->value());
        m_engine->setRandRight(SpinEdit2->value());
        m_engine->setRandTop(SpinEdit3->value());
        m_engine->setRandBottom(SpinEdit4->value());
        m_engine->setZoomPercent(25);
        m_engine->setPortrait();
        writeDocument(lines);
    });
}

void TDruckvorschauTabelleDlg::SpinEdit1Change() {
    if (m_applying || !m_engine) return;
    m_engine->setRandLeft(SpinEdit1->value());
    if (SpinEdit1->value() > kMaxLeft) {
        SpinEdit1->setValue(kMaxLeft); // applies the limit through this handler
        return;
    }
    VorschauNeuZeichnen();
}

void TDruckvorschauTabelleDlg::SpinEdit2Change() {
    if (m_applying || !m_engine) return;
    m_engine->setRandRight(SpinEdit2->value());
    if (SpinEdit2->value() > kMaxRight) {
        SpinEdit2->setValue(kMaxRight);
        return;
    }
    VorschauNeuZeichnen();
}

void TDruckvorschauTabelleDlg::SpinEdit3Change() {
    if (m_applying || !m_engine) return;
    m_engine->setRandTop(SpinEdit3->value());
    VorschauNeuZeichnen();
}

void TDruckvorschauTabelleDlg::SpinEdit4Change() {
    if (m_applying || !m_engine) return;
    m_engine->setRandBottom(SpinEdit4->value());
    VorschauNeuZeichnen();
}

void TDruckvorschauTabelleDlg::VorschauNeuZeichnen() {
    if (!m_engine) return;
    m_engine->setZoomPercent(35);
    writeDocument(hooks.tableLines ? hooks.tableLines() : QStringList());
}

void TDruckvorschauTabelleDlg::storeMargins() {
    const QString table = appState().CurrentTablePath;
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
        ui::showWarning(QStringLiteral("Die Druckränder konnten nicht in der Datei \"%1\" "
                                       "gespeichert werden.")
                            .arg(table));
}

void TDruckvorschauTabelleDlg::OKBtnClick() {
    if (!m_engine || !ui::services().printDialog(this, m_engine->printer())) {
        reject();
        return;
    }
    try {
        if (!m_engine->Print())
            ui::showInformation(QStringLiteral("Druckvorgang wurde abgebrochen."));
    } catch (const std::exception &e) {
        ui::showWarning(QStringLiteral("Die Tabelle konnte nicht gedruckt werden: ") +
                        QString::fromLocal8Bit(e.what()));
    }
    storeMargins();
    accept();
}

void TDruckvorschauTabelleDlg::BitBtn2Click() {
    QColor chosen = m_color;
    ui::services().chooseColor(this, m_color, chosen);
    m_color = chosen;
    if (hooks.setTableColor) hooks.setTableColor(m_color);
    if (m_engine) m_engine->setTextColor(m_color);
    VorschauNeuZeichnen();
}
