#include "grapharea.h"

#include <QLabel>
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>

#include "platform/fonts.h"
#include "platform/picturebox.h"
#include "platform/ui.h"
#include "storage/monthmodel.h"
#include "templatepicture.h"

namespace {

// The day marker: a red triangle pointing down at the day's column.
QImage arrowPicture() {
    QImage arrow(graphgeo::kDayWidth, 12, QImage::Format_ARGB32);
    arrow.fill(Qt::transparent);
    QPainter painter(&arrow);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(200, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(QPolygon({QPoint(14, 0), QPoint(34, 0), QPoint(24, 11)}));
    return arrow;
}

// Top of the day marker: above the graph's frame, pointing down at the
// day's column, so it covers neither day numbers nor readings.
constexpr int kArrowTop = 42;

} // namespace

GraphArea::GraphArea(const MonthModel &model, ui::Services &ui, QWidget *parent)
    : QScrollArea(parent), m_model(model), m_ui(ui), m_graph(std::make_unique<MonthGraph>(model)) {
    setObjectName(QStringLiteral("FormScrollArea"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setObjectName(QStringLiteral("HorzScrollBar"));
    horizontalScrollBar()->setSingleStep(10);
    buildControls();
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (m_shown) pin(true);
    });
}

GraphArea::~GraphArea() = default;

// The title strip and the box with the graph and the pictures laid on it.
void GraphArea::buildControls() {
    m_client = new QWidget;
    m_client->setObjectName(QStringLiteral("ClientArea"));
    m_client->resize(793, 612);
    setWidget(m_client);

    m_panel = new QWidget(m_client);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setGeometry(0, 0, 793, 27);
    m_panel->setAutoFillBackground(true);
    m_header = new PictureBox(m_panel);
    m_header->setObjectName(QStringLiteral("Image2"));
    m_title = new QLabel(m_panel);
    m_title->setObjectName(QStringLiteral("Label1"));
    m_title->setFont(fonts::arialPixels(15, true));
    m_title->setGeometry(8, 4, 600, 19);
    m_title->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_box = new QWidget(m_client);
    m_box->setObjectName(QStringLiteral("ScrollBox1"));
    m_box->setGeometry(0, 27, 793, 400);
    auto picture = [this](const char *name) {
        auto *p = new PictureBox(m_box);
        p->setObjectName(QString::fromLatin1(name));
        return p;
    };
    m_image = picture("Image");
    // White until the graph template is read.
    m_image->reserveSize(QSize(200, 200));
    m_legend = picture("M_einheit_Image");
    m_legend->setGeometry(0, graphgeo::kLegendTop, graphgeo::kLegendWidth, graphgeo::kLegendHeight);
    m_meanImage = picture("MittelwertImage");
    m_meanImage->hide();
    m_blankImage = picture("LeerImage");
    m_blankImage->hide();
    m_arrow = picture("Pfeilimage");
    m_arrow->setPicture(arrowPicture());
    m_arrow->hide();
    m_status = new QLabel(m_box);
    m_status->setObjectName(QStringLiteral("StatusLabel"));
    m_status->setGeometry(8, 200, 600, 16);

    // All pictures lie in the box, so a point maps through it.
    for (PictureBox *box : {m_image, m_legend, m_meanImage, m_arrow})
        connect(box, &PictureBox::mouseMoved, this,
                [this, box](QPoint pos) { pointerMoved(box->mapTo(m_box, pos) - m_image->pos()); });
    // A click on the graph, any button, selects the day under it.
    connect(m_image, &PictureBox::mousePressed, this, [this](QPoint pos, Qt::MouseButton) {
        emit clicked(m_image->mapTo(window(), pos).x());
    });
}

void GraphArea::prepare(const QString &legendPath, const QString &headerPath) {
    m_legendPath = legendPath;
    if (m_model.unit() == GlucoseUnit::MmolL)
        m_legend->setPicture(templatepicture::legend(GlucoseUnit::MmolL));
    else
        m_legend->loadPictureSoon(legendPath);
    if (!headerPath.isEmpty()) m_header->loadPictureSoon(headerPath);
    const QSize size = m_graph->prepareTemplate();
    if (size.isValid()) m_image->reserveSize(size);
}

void GraphArea::showUnit() {
    if (m_model.unit() == GlucoseUnit::MmolL) {
        m_legend->setPicture(templatepicture::legend(GlucoseUnit::MmolL));
    } else if (!m_legend->loadPicture(m_legendPath)) {
        // Without its picture the delivered scale, so the graph is not left without one.
        m_legend->setPicture(templatepicture::legend());
    }
    m_status->setText(m_note);
}

void GraphArea::setTemplatePath(const QString &path) {
    m_graph->setTemplatePath(path);
}

const QString &GraphArea::templatePath() const {
    return m_graph->templatePath();
}

void GraphArea::showTemplate() {
    m_shown = false;
    if (m_graph->showTemplate()) m_image->setPicture(m_graph->picture());
    m_meanImage->hide();
    m_note.clear();
    m_status->clear();
}

void GraphArea::showTitle(const QString &text) {
    m_title->setText(text);
    m_title->adjustSize();
}

MonthGraph::Placement GraphArea::placement() const {
    MonthGraph::Placement p;
    p.windowWidth = window()->width();
    p.legendLeft = m_legend->x();
    p.legendWidth = m_legend->width();
    return p;
}

bool GraphArea::drawMonth(MonthGraph::View view) {
    m_shown = false;
    bool drawn = false;
    // What was drawn before a stop stays on screen.
    struct Show {
        GraphArea *area;
        ~Show() { area->m_image->setPicture(area->m_graph->picture()); }
    } show{this};
    // The legend at its pinned place first, so the time strip drawn with
    // the month stands where the pinning wants it.
    m_legend->move(horizontalScrollBar()->value() - 2, m_legend->y());
    drawn = m_graph->draw(m_model.month(), view, placement());
    m_title->setText(m_graph->TitleText());
    m_title->resize(m_title->fontMetrics().horizontalAdvance(m_graph->TitleText()) + 4,
                    m_title->height());
    if (!drawn) {
        m_meanImage->hide();
        return false;
    }
    m_shown = true;
    // A four-slot graph has no place for the readings of Messung4 .. 7; they
    // count in every mean all the same, and the readout line says so.
    const int undrawn =
        m_model.mode() == MeasureMode::Four ? m_model.figures().eightSlotReadings : 0;
    m_note =
        undrawn == 0 ? QString()
        : undrawn == 1
            ? QStringLiteral("1 gespeicherter Messwert der Messungen 4 bis 7 wird bei bis zu 4 "
                             "Messungen je Tag nicht gezeichnet; er zählt in den Mittelwerten.")
            : QStringLiteral("%1 gespeicherte Messwerte der Messungen 4 bis 7 werden bei bis "
                             "zu 4 Messungen je Tag nicht gezeichnet; sie zählen in den "
                             "Mittelwerten.")
                  .arg(undrawn);
    showReadout(QString(), -1);
    pin(false);
    return true;
}

// The readout line: the value under the pointer at x (client), or, without
// one, the note about readings the graph does not draw.
void GraphArea::showReadout(const QString &caption, int x) {
    const MonthGraph::Placement p = placement();
    m_status->setText(caption.isEmpty() ? m_note : caption);
    // As wide as its text; the height stays, so the layout does not move.
    m_status->resize(m_status->sizeHint().width(), m_status->height());
    int left = p.legendLeft + p.legendWidth + 4;
    if (!caption.isEmpty()) {
        left = std::max(x >= p.windowWidth / 2 ? p.legendLeft + x - 300 : p.legendLeft + x - 150,
                        left);
    }
    m_status->move(left, m_legend->y() + m_legend->height() + 2);
}

// The monthly-mean caption, centred in the visible part, and the title.
void GraphArea::placeCaption() {
    const MonthGraph::Placement p = placement();
    const QImage caption = m_graph->meanCaptionPicture();
    if (caption.isNull()) {
        // No caption of an earlier month stays beside this one.
        m_meanImage->hide();
    } else {
        m_meanImage->setAutoSize(true);
        m_meanImage->setPicture(caption);
        const int tw =
            QFontMetrics(fonts::arialPoints(8, true)).horizontalAdvance(m_graph->MeanCaptionText());
        int left = p.legendLeft + p.windowWidth / 2 - tw / 2 - p.legendWidth;
        if (left < p.legendLeft + p.legendWidth) left = p.legendLeft + p.legendWidth + 10;
        m_meanImage->move(left, 78);
        m_meanImage->show();
        m_meanImage->raise();
    }
    const int tw = m_title->fontMetrics().horizontalAdvance(m_title->text());
    m_title->move(p.legendLeft + p.windowWidth / 2 - tw / 2 - (p.legendWidth - 40), m_title->y());
}

// Keeps legend, time strip, mean caption and title in the visible part.
void GraphArea::pin(bool overlapCorrection) {
    m_legend->move(horizontalScrollBar()->value() - 2, m_legend->y());
    m_graph->schreibTextInGrafik(placement());
    m_image->setPicture(m_graph->picture());
    placeCaption();
    if (!overlapCorrection) return;
    const MonthGraph::Placement p = placement();
    if (m_legend->x() + m_legend->width() > m_meanImage->x())
        m_meanImage->move(p.legendLeft + p.legendWidth + 10, m_meanImage->y());
    const int tw = m_title->fontMetrics().horizontalAdvance(m_title->text());
    m_title->move(p.legendLeft + p.windowWidth / 2 - tw / 2 + 40 - p.legendWidth, m_title->y());
}

int GraphArea::scrollPosition() const {
    return horizontalScrollBar()->value();
}

void GraphArea::setScrollPosition(int position) {
    horizontalScrollBar()->setValue(position);
    if (m_shown) pin(false);
}

void GraphArea::scrollByDays(int days) {
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + days * graphgeo::kDayWidth);
    emit layoutRequested();
}

void GraphArea::markDay(int day) {
    m_markedDay = day;
    if (day <= 0) {
        m_arrow->hide();
        return;
    }
    m_arrow->move(graphgeo::dayLeft(day), kArrowTop);
    m_arrow->setVisible(m_dayMarkAllowed);
    m_arrow->raise();
}

void GraphArea::setDayMarkAllowed(bool allowed) {
    m_dayMarkAllowed = allowed;
    m_arrow->setVisible(allowed && m_markedDay > 0);
}

// Pointer readout for a point in graph picture coordinates.
void GraphArea::pointerMoved(const QPoint &graphPos) {
    const int x = graphPos.x() - horizontalScrollBar()->value();
    const QString value = graphgeo::readoutValueText(graphPos.y() + graphgeo::kReadoutOffset);
    QString caption;
    if (!value.isEmpty()) {
        const GlucoseUnit unit = m_model.unit();
        caption =
            QStringLiteral("Cursor befindet sich auf: ") +
            (unit == GlucoseUnit::MmolL ? glucoseunit::valueText(value.toInt(), unit) : value) +
            u' ' + glucoseunit::unitText(unit);
    }
    if (x < graphgeo::kGridLeft || graphPos.x() > graphgeo::kLimitLineEnd) caption.clear();
    // The whole caption stays right of the legend, in the visible part.
    showReadout(caption, x);
}

void GraphArea::layOut() {
    // The readout line sits right under the graph picture.
    m_status->move(m_status->x(), m_image->y() + m_image->height() + 2);
    const int sum = m_status->y() + m_status->height() + kBottomMargin;
    const int contentWidth = std::max(m_image->x() + m_image->width(), viewport()->width());
    m_box->setGeometry(0, m_panel->height(), contentWidth, sum);
    m_panel->resize(contentWidth, 27);
    fitClientHeight(contentWidth, m_panel->height() + sum);
}

int GraphArea::fullHeight() const {
    return m_panel->height() + m_status->y() + m_status->height() + kBottomMargin +
           horizontalScrollBar()->sizeHint().height();
}

// The blank margin under the readout line gives way first, so that the
// area never shows a vertical scroll bar that scrolls nothing but it.
void GraphArea::fitClientHeight(int contentWidth, int full) {
    const int frames = 2 * frameWidth();
    const bool barShown =
        horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn ||
        (horizontalScrollBarPolicy() == Qt::ScrollBarAsNeeded && contentWidth > width() - frames);
    const int room =
        height() - frames - (barShown ? horizontalScrollBar()->sizeHint().height() : 0);
    m_client->resize(contentWidth, std::clamp(room, full - kBottomMargin, full));
}

void GraphArea::resizeEvent(QResizeEvent *e) {
    QScrollArea::resizeEvent(e);
    layOut();
    if (m_shown) pin(true);
}

GraphArea::Shown GraphArea::shown() const {
    Shown s;
    s.header = m_header->picture();
    s.graph = m_image->picture();
    s.title = m_graph->TitleText().isEmpty() ? m_title->text() : m_graph->TitleText();
    s.titleFont = m_title->font();
    s.timeStrip = m_graph->TimeStripText();
    s.meanCaption = m_graph->MeanCaptionText();
    s.meanValue = m_graph->MeanValueText();
    const QString status = m_status->text(), title = m_title->text();
    m_status->clear();
    m_title->clear();
    s.visibleArea = viewport()->grab().toImage();
    m_status->setText(status);
    m_title->setText(title);
    s.graphOrigin = m_image->mapTo(viewport(), QPoint(0, 0));
    return s;
}
