// The trend `Verlauf`: up to four measured lines of the cycle plotted against time, fed by the
// same poll as `Anzeilist`. Each chosen line has its colour, its own vertical axis scaled to
// what is in view, its latest value in large figures and its minimum, maximum and mean since
// the start. The view spans 1, 5, 15 or 60 minutes and scrolls; "Anhalten" freezes it while
// the poll and the recording go on. The data is the Qt-free TrendModel; this window draws it,
// at most a few times a second and only when something changed.
//
// Hook-up as for `Anzeilist`: startRequested()/stopRequested() ask the main window to start
// or stop the one poll, leftWhilePolling() says the window was closed while it ran; the poll's
// lines go to lineReceived(), its start (when another window started it) to pollStarted() and
// its end to pollEnded(). The file dialogs of "Bild speichern..." and "Aufzeichnen..." are the
// main window's: it answers pictureRequested() with savePicture(), recordingRequested() with
// startRecording(), and says so when recordingFailed().
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPolygonF>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "config/record.h"
#include "measure/csv_log.h"
#include "measure/trend.h"
#include "text/language.h"

class QChart;
class QChartView;
class QComboBox;
class QDateTimeAxis;
class QLabel;
class QPushButton;
class QTimer;
class QValueAxis;

namespace kalvo {

class Verlauf : public QDialog {
    Q_OBJECT
  public:
    // `record`: the project's record, read for the transformer ratios of every line.
    // `decimal`: the user's decimal separator for the figures.
    Verlauf(QWidget* owner, const Record& record, Language language, char decimal);
    ~Verlauf() override;

    void setLanguage(Language language);

    // One line of the poll, UTF-8 without its CR, and when it came. Ignored while stopped.
    void lineReceived(const std::string& utf8, TimePoint at);
    void lineReceived(const std::string& utf8);
    // Another window started the poll (or it ran when this one opened): the window takes part.
    void pollStarted();
    // The poll ended: the window shows START again; a recording ends with it.
    void pollEnded();
    bool polling() const { return polling_; }

    // Plots line `name` in place `slot` (0..3); an empty name clears the place.
    void chooseLine(int slot, const std::string& name);
    // The span by its index in kTrendSpans.
    void setSpan(int index);

    // Writes the plot as PNG; false when the file cannot be written.
    bool savePicture(const QString& path);
    // Records every value line from now on into `path` (CSV as `kalvo-cli watch --csv`);
    // false when the file cannot be written. A recording runs until stopRecording(), the end
    // of the poll, or a failed write (recordingFailed()).
    bool startRecording(const std::string& path);
    void stopRecording();
    bool recording() const { return csv_.has_value(); }

    const TrendModel& model() const { return model_; }
    // The stretches of place `slot` as last drawn: (ms since the epoch, value).
    const std::vector<QPolygonF>& drawn(int slot) const;
    // Draws now what has changed (the window does it by itself: the figures a few times a
    // second, the plot as its time axis moves by about a pixel).
    void redraw();

  signals:
    void startRequested();
    void stopRequested();
    void leftWhilePolling();
    void pictureRequested();
    void recordingRequested();
    void recordingFailed(const QString& path);

  protected:
    void reject() override;  // Esc and the close box act as "zurück"

  private:
    class Curves;
    struct Slot {
        QComboBox* choice = nullptr;
        QLabel* latest = nullptr;
        QLabel* stats = nullptr;
        QValueAxis* axis = nullptr;
        std::string name;
    };

    void start_Click();
    void Pause_Click();
    void Aufzeichnen_Click();
    void zurueck_Click();
    void offerLines();
    void updateTexts();
    void scheduleRedraw();
    // The figures beside the plot, and the plot when it is due (or `plotNow`).
    void refresh(bool plotNow);
    void showFigures(std::size_t k);
    void drawSlot(std::size_t k, double fromMs, double toMs, int columns);
    std::string figure(double value) const;

    const Record& record_;
    Language language_;
    char decimal_;
    TrendModel model_;
    bool polling_ = false;
    int span_ = 0;  // index in kTrendSpans
    std::optional<CsvLog> csv_;
    std::string csvPath_;
    CycleLineNumbers numbers_;
    // Wall time (ms since the epoch) of the model's time 0, for the clock-time axis.
    std::optional<double> wallOrigin_;
    unsigned long long drawnRevision_ = ~0ULL;
    std::string offeredKey_;

    QPushButton* start_;
    QPushButton* pause_;
    QComboBox* span_Combo_;
    QLabel* spanLabel_;
    QPushButton* picture_;
    QPushButton* recordButton_;
    QPushButton* zurueck_;
    QChart* chart_;
    QChartView* view_;
    QDateTimeAxis* time_;
    QTimer* redrawTimer_;
    QElapsedTimer plotted_;  // since the plot was drawn
    std::array<Slot, kTrendLines> slots_{};
    std::unique_ptr<Curves> curves_;  // a graphics item on the chart
};

}  // namespace kalvo
