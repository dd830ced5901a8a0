#include "measure/ui/verlauf.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QElapsedTimer>
#include <QFrame>
#include <QGraphicsItem>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "text/captions.h"
#include "text/messages.h"
#include "text/trend_texts.h"
#include "widgets/apply_texts.h"
#include "widgets/qt_text.h"

namespace kalvo {

namespace {

// Four colours told apart on screen and on paper, also by most colour-blind eyes.
const std::array<QColor, kTrendLines> kColours = {QColor(0, 92, 200), QColor(214, 96, 0),
                                                  QColor(0, 150, 110), QColor(170, 40, 140)};
// A new line updates the figures beside the plot after this long, not at once: the device
// sends up to sixty lines a second, a person reads two. The plot itself is drawn again when
// its time axis has moved by a column of about two pixels, at most once a second: for sixty
// minutes in view that is every 10 s. Drawing it costs some milliseconds; the figures less.
constexpr int kRedrawMs = 500;
constexpr int kPlotMs[] = {1000, 2000, 4000, 10000};  // by span

QString spanText(int index, Language language) {
    return qs(fillIn(kTrendMinutes.in(language),
                     std::to_string(std::chrono::minutes(kTrendSpans[index]).count())));
}

}  // namespace

// The chosen lines, drawn straight onto the chart's plot area with the chart's axes: Qt Charts'
// own line series work out a hit-test outline of every line on each change, which for a
// thousand points a line costs more than all the rest of a frame.
class Verlauf::Curves final : public QGraphicsItem {
  public:
    Curves(QChart* chart, QDateTimeAxis* time) : QGraphicsItem(chart), chart_(chart), time_(time) {
        setZValue(10);
    }
    struct Line {
        QValueAxis* axis = nullptr;
        std::vector<QPolygonF> runs;  // (ms since the epoch, value)
    };
    std::array<Line, kTrendLines> lines;

    void changed() {
        prepareGeometryChange();
        update();
    }
    QRectF boundingRect() const override { return chart_->plotArea(); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        const QRectF area = chart_->plotArea();
        const double x0 = static_cast<double>(time_->min().toMSecsSinceEpoch());
        const double x1 = static_cast<double>(time_->max().toMSecsSinceEpoch());
        if (x1 <= x0 || area.isEmpty()) return;
        painter->save();
        painter->setClipRect(area);
        painter->setRenderHint(QPainter::Antialiasing, false);  // a third of the cost
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const Line& line = lines[k];
            const double y0 = line.axis->min();
            const double y1 = line.axis->max();
            if (line.runs.empty() || y1 <= y0) continue;
            QPen pen(kColours[k], 1);  // one pixel: the fast way of the raster engine
            pen.setCosmetic(true);
            painter->setPen(pen);
            for (const QPolygonF& run : line.runs) {
                QPolygonF mapped;
                mapped.reserve(run.size());
                for (const QPointF& p : run) {
                    mapped << QPointF(area.left() + (p.x() - x0) / (x1 - x0) * area.width(),
                                      area.bottom() - (p.y() - y0) / (y1 - y0) * area.height());
                }
                if (mapped.size() == 1) {
                    painter->drawPoint(mapped.front());
                } else {
                    painter->drawPolyline(mapped);
                }
            }
        }
        painter->restore();
    }

  private:
    QChart* chart_;
    QDateTimeAxis* time_;
};

Verlauf::Verlauf(QWidget* owner, const Record& record, Language language, char decimal)
    : QDialog(owner), record_(record), language_(language), decimal_(decimal) {
    setObjectName(QStringLiteral("Verlauf"));
    setModal(false);
    setSizeGripEnabled(true);

    auto button = [this](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromUtf8(name));
        b->setAutoDefault(false);
        return b;
    };
    start_ = button("start");
    pause_ = button("Pause");
    pause_->setCheckable(true);
    spanLabel_ = new QLabel(this);
    spanLabel_->setObjectName(QStringLiteral("Zeitraum_Label"));
    span_Combo_ = new QComboBox(this);
    span_Combo_->setObjectName(QStringLiteral("Zeitraum"));
    for (std::size_t i = 0; i < std::size(kTrendSpans); ++i) span_Combo_->addItem(QString());
    spanLabel_->setBuddy(span_Combo_);
    picture_ = button("Bild_speichern");
    recordButton_ = button("Aufzeichnen");
    zurueck_ = button("zurück");

    auto* top = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(start_), static_cast<QWidget*>(pause_),
                       static_cast<QWidget*>(spanLabel_), static_cast<QWidget*>(span_Combo_)}) {
        top->addWidget(w);
    }
    top->addStretch(1);
    for (QPushButton* b : {picture_, recordButton_, zurueck_}) top->addWidget(b);

    chart_ = new QChart;
    chart_->legend()->hide();
    chart_->setMargins(QMargins(4, 4, 4, 4));
    // A plain background: the rounded, shadowed one costs more to paint than the lines.
    chart_->setBackgroundRoundness(0);
    chart_->setDropShadowEnabled(false);
    // The axes' figures with the user's decimal separator, as beside the plot.
    chart_->setLocalizeNumbers(true);
    chart_->setLocale(decimal == ',' ? QLocale(QLocale::German) : QLocale::c());
    time_ = new QDateTimeAxis;
    time_->setFormat(QStringLiteral("HH:mm:ss"));
    time_->setTickCount(7);
    chart_->addAxis(time_, Qt::AlignBottom);
    view_ = new QChartView(chart_, this);  // owns the chart
    view_->setObjectName(QStringLiteral("Diagramm"));
    view_->setRenderHint(QPainter::Antialiasing, false);
    view_->setMinimumSize(560, 320);

    auto* side = new QGridLayout;
    QFont big = font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    for (int k = 0; k < kTrendLines; ++k) {
        Slot& s = slots_[static_cast<std::size_t>(k)];
        const QString tail = QStringLiteral("_%1").arg(k);
        s.choice = new QComboBox(this);
        s.choice->setObjectName(QStringLiteral("Linie") + tail);
        s.choice->setMinimumContentsLength(14);
        s.choice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        s.latest = new QLabel(this);
        s.latest->setObjectName(QStringLiteral("Wert") + tail);
        s.latest->setFont(big);
        s.latest->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        s.latest->setStyleSheet(QStringLiteral("color: %1").arg(kColours[k].name()));
        s.stats = new QLabel(this);
        s.stats->setObjectName(QStringLiteral("Statistik") + tail);
        s.stats->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* swatch = new QFrame(this);
        swatch->setFixedSize(14, 14);
        swatch->setStyleSheet(QStringLiteral("background: %1").arg(kColours[k].name()));
        side->addWidget(swatch, 3 * k, 0);
        side->addWidget(s.choice, 3 * k, 1);
        side->addWidget(s.latest, 3 * k + 1, 0, 1, 2);
        side->addWidget(s.stats, 3 * k + 2, 0, 1, 2);
        side->setRowMinimumHeight(3 * k + 2, 22);

        s.axis = new QValueAxis;
        s.axis->setLabelsColor(kColours[k]);
        s.axis->setLinePenColor(kColours[k]);
        s.axis->setGridLineVisible(k == 0);
        s.axis->setLabelFormat(QStringLiteral("%.4g"));
        s.axis->setVisible(false);
        chart_->addAxis(s.axis, k % 2 == 0 ? Qt::AlignLeft : Qt::AlignRight);
        // An empty series ties the axis into the chart's layout; the line is drawn by Curves.
        auto* anchor = new QLineSeries;
        chart_->addSeries(anchor);  // the chart owns it
        anchor->attachAxis(time_);
        anchor->attachAxis(s.axis);
        connect(s.choice, &QComboBox::activated, this, [this, k](int index) {
            const QVariant name = slots_[static_cast<std::size_t>(k)].choice->itemData(index);
            chooseLine(k, name.toString().toStdString());
        });
    }
    side->setRowStretch(3 * kTrendLines, 1);
    curves_ = std::make_unique<Curves>(chart_, time_);
    for (int k = 0; k < kTrendLines; ++k) {
        curves_->lines[static_cast<std::size_t>(k)].axis = slots_[static_cast<std::size_t>(k)].axis;
    }
    connect(chart_, &QChart::plotAreaChanged, this, [this] { curves_->changed(); });

    auto* body = new QHBoxLayout;
    body->addWidget(view_, 1);
    body->addLayout(side);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(body, 1);

    redrawTimer_ = new QTimer(this);
    redrawTimer_->setSingleShot(true);
    redrawTimer_->setInterval(kRedrawMs);
    connect(redrawTimer_, &QTimer::timeout, this, [this] { refresh(false); });
    connect(start_, &QPushButton::clicked, this, &Verlauf::start_Click);
    connect(pause_, &QPushButton::clicked, this, &Verlauf::Pause_Click);
    connect(picture_, &QPushButton::clicked, this, &Verlauf::pictureRequested);
    connect(recordButton_, &QPushButton::clicked, this, &Verlauf::Aufzeichnen_Click);
    connect(zurueck_, &QPushButton::clicked, this, &Verlauf::zurueck_Click);
    connect(span_Combo_, &QComboBox::activated, this, &Verlauf::setSpan);

    resize(940, 560);
    setLanguage(language_);
    redraw();
}

Verlauf::~Verlauf() = default;  // Curves is complete here; the chart deletes it first

void Verlauf::setLanguage(Language language) {
    language_ = language;
    applyCaptions(this, verlaufCaptions(), language);
    for (int i = 0; i < span_Combo_->count(); ++i) {
        span_Combo_->setItemText(i, spanText(i, language));
    }
    offeredKey_.clear();  // the "(keine)" entry changes its words
    offerLines();
    updateTexts();
    drawnRevision_ = ~0ULL;
    redraw();
}

void Verlauf::updateTexts() {
    // The table holds the captions of the stopped, running, not recording window.
    start_->setText(polling_ ? qs(kAnzeilistStop.in(language_))
                             : qs(captionOf(verlaufCaptions(), "start", language_)));
    pause_->setChecked(model_.paused());
    pause_->setText(model_.paused() ? qs(kTrendContinue.in(language_))
                                    : qs(captionOf(verlaufCaptions(), "Pause", language_)));
    recordButton_->setText(csv_ ? qs(kTrendRecording.in(language_))
                                : qs(captionOf(verlaufCaptions(), "Aufzeichnen", language_)));
}

void Verlauf::start_Click() {
    if (polling_) {
        emit stopRequested();
    } else {
        pollStarted();
        emit startRequested();
    }
}

void Verlauf::pollStarted() {
    if (polling_) return;
    polling_ = true;
    numbers_ = CycleLineNumbers{};  // no line has a number before the poll's first marker
    updateTexts();
}

void Verlauf::pollEnded() {
    if (!polling_) return;
    polling_ = false;
    model_.breakLines();
    stopRecording();  // a record ends with its poll
    updateTexts();
}

void Verlauf::zurueck_Click() {
    const bool wasPolling = polling_;
    stopRecording();
    if (polling_) model_.breakLines();
    polling_ = false;
    updateTexts();
    hide();
    if (wasPolling) emit leftWhilePolling();
}

void Verlauf::reject() {
    zurueck_Click();
    setResult(QDialog::Rejected);
}

void Verlauf::Pause_Click() {
    if (model_.paused()) {
        model_.resume();
    } else {
        model_.pause();
    }
    updateTexts();
    redraw();
}

void Verlauf::Aufzeichnen_Click() {
    if (csv_) {
        stopRecording();
    } else {
        emit recordingRequested();
    }
}

bool Verlauf::startRecording(const std::string& path) {
    stopRecording();
    csv_ = CsvLog::create(path);
    if (csv_) csvPath_ = path;
    updateTexts();
    return csv_.has_value();
}

bool Verlauf::savePicture(const QString& path) {
    drawnRevision_ = ~0ULL;
    redraw();
    // Written beside and put in place whole: a failed save leaves an older picture as it was.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && view_->grab().save(&file, "PNG") && file.commit();
}

void Verlauf::stopRecording() {
    if (!csv_) return;
    csv_.reset();
    updateTexts();
}

void Verlauf::setSpan(int index) {
    span_ = std::clamp(index, 0, static_cast<int>(std::size(kTrendSpans)) - 1);
    if (span_Combo_->currentIndex() != span_) span_Combo_->setCurrentIndex(span_);
    drawnRevision_ = ~0ULL;
    redraw();
}

void Verlauf::lineReceived(const std::string& utf8) {
    lineReceived(utf8, std::chrono::steady_clock::now());
}

void Verlauf::lineReceived(const std::string& utf8, TimePoint at) {
    if (!polling_) return;
    const Transformers t = displayTransformers(record_);
    model_.lineReceived(utf8, t, at);
    if (!wallOrigin_) {
        wallOrigin_ = static_cast<double>(QDateTime::currentMSecsSinceEpoch()) -
                      static_cast<double>(model_.viewEnd().count());
    }
    if (isCycleMarker(utf8)) {
        numbers_.marker();
    } else if (csv_) {
        if (!csv_->writeReceived(std::chrono::system_clock::now(), numbers_.take(), utf8, t)) {
            const QString path = QString::fromStdString(csvPath_);
            stopRecording();
            emit recordingFailed(path);
        }
    } else {
        numbers_.take();
    }
    scheduleRedraw();
}

void Verlauf::scheduleRedraw() {
    if (!redrawTimer_->isActive()) redrawTimer_->start(kRedrawMs);
}

void Verlauf::chooseLine(int slot, const std::string& name) {
    if (slot < 0 || slot >= kTrendLines) return;
    Slot& s = slots_[static_cast<std::size_t>(slot)];
    if (s.name == name) return;
    // A line is plotted once: choosing it here takes it from the other place.
    for (Slot& other : slots_) {
        if (&other != &s && !name.empty() && other.name == name) other.name.clear();
    }
    if (!s.name.empty()) model_.unchoose(s.name);
    s.name = name;
    if (!name.empty()) model_.choose(name);
    offeredKey_.clear();
    offerLines();
    drawnRevision_ = ~0ULL;
    redraw();
}

// The choice boxes list the lines of the cycle; they are filled again only when that list
// changes, so an open box does not flicker under the user's pointer.
void Verlauf::offerLines() {
    const std::vector<TrendLine> lines = model_.offered();
    std::string key;
    for (const TrendLine& l : lines) key += l.label() + '\n';
    for (const Slot& s : slots_) key += s.name + '\t';
    if (key == offeredKey_) return;
    offeredKey_ = key;
    for (Slot& s : slots_) {
        const QSignalBlocker quiet(s.choice);
        s.choice->clear();
        s.choice->addItem(qs(kTrendNoLine.in(language_)), QString());
        bool listed = s.name.empty();
        for (const TrendLine& l : lines) {
            s.choice->addItem(qs(l.label()), qs(l.name));
            listed = listed || l.name == s.name;
        }
        // A chosen line not in the present cycle stays choosable.
        if (!listed) {
            const std::optional<TrendLine> l = model_.line(s.name);
            s.choice->addItem(qs(l ? l->label() : s.name), qs(s.name));
        }
        s.choice->setCurrentIndex(std::max(0, s.choice->findData(qs(s.name))));
    }
}

std::string Verlauf::figure(double value) const {
    if (std::isnan(value)) return "---";
    char text[32];
    // Five significant digits, as the device shows; no exponent for a large power in W.
    std::snprintf(text, sizeof text, std::fabs(value) >= 1e5 ? "%.0f" : "%.5g", value);
    std::string s = text;
    std::replace(s.begin(), s.end(), '.', decimal_);
    return s;
}

void Verlauf::redraw() {
    refresh(true);
}

void Verlauf::refresh(bool plotNow) {
    offerLines();
    if (model_.revision() == drawnRevision_) return;
    drawnRevision_ = model_.revision();
    for (std::size_t k = 0; k < slots_.size(); ++k) showFigures(k);
    if (!plotNow && plotted_.isValid() && plotted_.elapsed() < kPlotMs[span_]) {
        // The figures are new, the plot waits: look again when it is due.
        redrawTimer_->start(static_cast<int>(kPlotMs[span_] - plotted_.elapsed()));
        drawnRevision_ = ~0ULL;
        return;
    }
    plotted_.start();
    const double spanMs =
        static_cast<double>(std::chrono::milliseconds(kTrendSpans[span_]).count());
    const double end =
        wallOrigin_.value_or(static_cast<double>(QDateTime::currentMSecsSinceEpoch())) +
        static_cast<double>(model_.viewEnd().count());
    time_->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(end - spanMs)),
                    QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(end)));
    time_->setFormat(spanMs > 5 * 60'000 ? QStringLiteral("HH:mm") : QStringLiteral("HH:mm:ss"));
    // A tick every 10 s, 1 min, 3 min or 10 min.
    time_->setTickCount(span_ == 0 || span_ == 3 ? 7 : 6);
    // A column of two pixels: its lowest and highest value drawn as a stroke, a pixel apart.
    const int columns = std::max(50, static_cast<int>(chart_->plotArea().width()) / 2);
    for (std::size_t k = 0; k < slots_.size(); ++k) drawSlot(k, end - spanMs, end, columns);
    curves_->changed();
}

const std::vector<QPolygonF>& Verlauf::drawn(int slot) const {
    return curves_->lines.at(static_cast<std::size_t>(slot)).runs;
}

void Verlauf::showFigures(std::size_t k) {
    Slot& s = slots_[k];
    const std::optional<TrendStats> st = s.name.empty() ? std::nullopt : model_.stats(s.name);
    const std::optional<TrendLine> line = s.name.empty() ? std::nullopt : model_.line(s.name);
    const std::string unit = line ? line->unit : std::string();
    const QString latest =
        s.name.empty() ? QString()
                       : qs(figure(st ? st->latest : NAN) + (unit.empty() ? "" : " " + unit));
    if (s.latest->text() != latest) s.latest->setText(latest);
    const QString stats =
        s.name.empty() || !st
            ? QString()
            : qs(kTrendStats.in(language_))
                  .arg(qs(figure(st->minimum)), qs(figure(st->maximum)), qs(figure(st->mean)));
    if (s.stats->text() != stats) s.stats->setText(stats);
}

void Verlauf::drawSlot(std::size_t k, double fromMs, double toMs, int columns) {
    Slot& s = slots_[k];
    const std::optional<TrendLine> line = s.name.empty() ? std::nullopt : model_.line(s.name);
    const std::string unit = line ? line->unit : std::string();

    const auto runs =
        s.name.empty()
            ? std::vector<std::vector<TrendPoint>>{}
            : model_.runs(s.name, std::chrono::milliseconds(static_cast<long long>(toMs - fromMs)),
                          columns);
    const double origin = wallOrigin_.value_or(0);
    double low = INFINITY, high = -INFINITY;
    std::vector<QPolygonF>& drawn = curves_->lines[k].runs;
    drawn.clear();
    for (const std::vector<TrendPoint>& run : runs) {
        QPolygonF& line = drawn.emplace_back();
        line.reserve(static_cast<qsizetype>(run.size()));
        for (const TrendPoint& p : run) {
            line << QPointF(origin + p.ms, p.value);
            low = std::min(low, static_cast<double>(p.value));
            high = std::max(high, static_cast<double>(p.value));
        }
    }
    s.axis->setVisible(!s.name.empty());
    s.axis->setTitleText(qs(unit));
    if (low > high) {
        low = 0;
        high = 1;
    } else {
        // Room above and below; a flat line gets a band around it.
        const double pad =
            high > low ? (high - low) * 0.08 : std::max(std::fabs(high) * 0.02, 0.01);
        low -= pad;
        high += pad;
    }
    s.axis->setRange(low, high);
    s.axis->applyNiceNumbers();  // ticks an engineer reads values off: 480, 560, 640 ...
}

}  // namespace kalvo
