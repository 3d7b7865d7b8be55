#pragma once

#include "app/datetime.h"
#include "app/globetypes.h"
#include "app/guarded.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class QLabel;
class HttpClient;
class TMainForm;
class THelpForm;
class TSettingsForm;

// The frame date of a map request. Written and read as one value, so a worker never
// builds a URL from the fields of two different computations.
struct FrameDate
{
    QString FrameYear;
    QString FrameMonth;
    QString FrameDay;
    QString FrameRun;
    QString FrameNumber;
};

struct ExtractRectangle
{
    int Left;
    int Top;
    int Right;
    int Bottom;
};

// Process-wide working state. Members written by download workers are atomics or
// Guarded values; the rest belong to the UI thread.
struct AppState
{
    // View and start-up
    std::atomic<ViewKind> CurrentView{View::Temperature};
    bool FirstActivation = true;

    // Unit choices
    bool UseFahrenheit = false;
    bool UseMph = false;
    bool UseInchesPerHour = false;
    bool UseUtc = false;
    bool SettingsChanged = false;

    // Current map request. Every map URL is built from MapServer.
    Guarded<QString> MapServer{QStringLiteral("https://climatereanalyzer.org")};
    QStringList FramePrefixes() const;
    Guarded<FrameDate> Frame;
    std::atomic<DateTimeDays> UtcStamp{0};
    std::atomic<MapSourceKind> MapSource{Source::TodayFrame};
    Guarded<QString> StatusError;

    // Extraction constants
    static constexpr int OrigWidth = 1088;
    static constexpr int OrigHeight = 667;
    static constexpr ExtractRectangle ExtractRect{5, 60, 1093, 727};

    // Shared objects
    HttpClient *HttpClientObject = nullptr;
    QImage NightLightsCopy;
    QList<QLabel *> TemperatureLabels;
    QList<QLabel *> RainLabels;
    QList<QLabel *> SnowLabels;
    QList<QLabel *> WindLabels;
    QList<QLabel *> PressureLabels;
    QList<QLabel *> ChangeLabels;
    float LegendBaseFontSize = 0;

    // Product information and folders
    QString DataDir;
    QString FileVersion;
    QString VersionMajor;
    QString BuildDate;

    // Windows
    TMainForm *MainForm = nullptr;
    THelpForm *HelpForm = nullptr;
    TSettingsForm *SettingsForm = nullptr;

    // The clock behind utc_now; tests hand in a fixed one. Workers read it too.
    std::atomic<const Clock *> clock{nullptr};
};

AppState &app();

// Puts every member back to its start value (tests start each case from here).
void reset_app_state();

// The one-line reader of CurrentView.
inline ViewKind current_view() { return app().CurrentView.load(); }
