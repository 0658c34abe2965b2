#pragma once
// The splash window and the start-up: the splash window's progress bar drives the creation
// of the program's windows one by one, then the splash slides off the bottom of the screen
// and the main window appears. Each of these is a step of the event loop.

#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

class QProgressBar;
class TKordiApp;

class TSplashWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int Steps = 20;

    TSplashWindow();

    QProgressBar* ProgressBar;

    // One step of the progress bar, repainted at once.
    void Advance();
    // One step of the slide off the screen: the step grows by 16 pixels each time, from 8.
    // True once the top is below the screen.
    bool SlideStep();

private:
    int slide_ = 8;
    int top_ = 0;
};

// Position of the start-up loop -> the function that creates the window of that position,
// given the function that advances the bar (the main window advances it itself). The
// windows are made through `app`, which must outlive the table.
using TWindowTable = std::map<int, std::function<void(const std::function<void()>& progress)>>;
TWindowTable StartUpWindows(TKordiApp& app);

// Shows the splash window, creates the windows of the table at their positions while the bar
// runs to its end, slides the splash away and shows the app's main window.
class TStartUp : public QObject {
    Q_OBJECT
public:
    static constexpr int SlideStepMs = 50;

    explicit TStartUp(TKordiApp& app) : TStartUp(app, StartUpWindows(app)) {}
    TStartUp(TKordiApp& app, TWindowTable windows);
    ~TStartUp() override;
    void Start();

signals:
    // The main window is shown.
    void Finished();
    // A step raised an error: the start-up ends with its text.
    void Failed(const QString& text);

private:
    void CreateNext();
    void Slide();

    TKordiApp& app_;
    TWindowTable windows_;
    std::unique_ptr<TSplashWindow> splash_;
    QTimer timer_;
};
