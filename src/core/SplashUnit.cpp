#include "core/SplashUnit.h"

#include "core/MainUnit.h"
#include "dictionary/SetCPUUnit.h"
#include "net/ChatUnit.h"
#include "net/Config.h"
#include "settings/AddRatingUnit.h"
#include "settings/WinnersUnit.h"
#include "ui/AboutUnit.h"
#include "ui/ChoiceUnit.h"
#include "ui/ImagesWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QThread>
#include <memory>

TSplashForm* SplashForm = nullptr;

TWindowTable StartUpWindows() {
    // Every window but the main one is owned by the main window and created after it; the
    // main window's creation advances the bar from 1 to 11 itself.
    return {
        {1, [] { new TMainWindow; }},
        {12, [] { new TChatWindow(MainWindow); }},
        {13, [] { new TConfigForm(MainWindow); }},
        {14, [] { new TImagesWindow(MainWindow); }},
        {15, [] { new TSetCPUWindow(MainWindow); }},
        {16, [] { new TChoiceWindow(MainWindow); }},
        {17, [] { new TWinnersWindow(MainWindow); }},
        {18, [] { new TAboutForm(MainWindow); }},
        {19, [] { new TAddRatingWindow(MainWindow); }},
    };
}

namespace {

QLabel* MakeCaption(QWidget* parent, const QString& text, QPoint at) {
    auto* label = new QLabel(text, parent);
    QFont font("Default");
    font.setPointSize(8);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(128, 0, 0));
    label->setPalette(palette);
    label->adjustSize();
    label->move(at);
    return label;
}

} // namespace

TSplashForm::TSplashForm() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    SplashForm = this;
    setFixedSize(240, 59);
    Image1 = new QLabel(this);
    Image1->setGeometry(0, 0, 240, 50);
    Image1->setPixmap(QPixmap(":/resources/splash.png"));
    Label1 = MakeCaption(this, QString::fromUtf8("Загрузка..."), {4, 3});
    Label2 = MakeCaption(this, "Loading...", {189, 33});
    ProgressBar = new QProgressBar(this);
    ProgressBar->setGeometry(0, 51, 240, 8);
    ProgressBar->setRange(0, Steps);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    move(screen()->geometry().center() - rect().center());
}

TSplashForm::~TSplashForm() {
    SplashForm = nullptr;
}

void TSplashForm::SlideAway() {
    const QRect screenArea = screen()->geometry();
    const int screenBottom = screenArea.y() + screenArea.height();
    // The top is counted here, not read back: a window manager may hold the window in view.
    int top = y();
    int step = 8;
    while (top <= screenBottom) {
        QThread::msleep(50);
        step += 16;
        top += step;
        move(x(), top);
        repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void SplashProgress() {
    if (!SplashForm)
        return;
    SplashForm->ProgressBar->setValue(SplashForm->ProgressBar->value() + 1);
    SplashForm->repaint();
}

void RunStartUp(const TWindowTable& windows) {
    auto splash = std::make_unique<TSplashForm>();
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // Position 0 has nothing left to do: the application exists.
    for (int position = 0; position < TSplashForm::Steps; position = splash->ProgressBar->value()) {
        if (const auto window = windows.find(position); window != windows.end())
            window->second();
        SplashProgress();
    }
    splash->SlideAway();
    MainWindow->show();
    splash->hide();
}
