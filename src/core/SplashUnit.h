#pragma once
// The splash window and the start-up: the splash window's progress bar drives the creation
// of the program's windows one by one, then the splash slides off the bottom of the screen
// and the main window appears.

#include <QWidget>
#include <functional>
#include <map>

class QLabel;
class QProgressBar;

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int Steps = 20;

    TSplashForm();
    ~TSplashForm() override;

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QProgressBar* ProgressBar;

    // Moves down in growing steps until its top is below the screen.
    void SlideAway();
};

// Exists only during start-up.
extern TSplashForm* SplashForm;

// One step of the splash progress bar, repainted at once; nothing without a splash window.
void SplashProgress();

// Position of the start-up loop -> the function that creates the window of that position.
using TWindowTable = std::map<int, std::function<void()>>;
TWindowTable StartUpWindows();

// Shows the splash window, creates the windows of the table at their positions while the bar
// runs to its end, slides the splash away and shows the main window.
void RunStartUp(const TWindowTable& windows = StartUpWindows());
