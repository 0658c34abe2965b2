#include "app/StartUp.h"

#include "app/KordiApp.h"
#include "ui/MainWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <memory>

TWindowTable StartUpWindows(TKordiApp& app) {
    // Every window but the main one is owned by the main window and created after it; the
    // main window's creation advances the bar from 1 to 11 itself.
    const auto through = [&app](void (TMainWindow::*create)()) {
        return [&app, create](const auto&) { (app.MainWindow()->*create)(); };
    };
    return {
        {1, [&app](const auto& progress) { app.CreateMainWindow(progress); }},
        {12, through(&TMainWindow::CreateConnectionWindow)},
        {13, through(&TMainWindow::CreateChatWindow)},
        {14, through(&TMainWindow::CreateTexturesWindow)},
        {15, through(&TMainWindow::CreateStrengthWindow)},
        {16, through(&TMainWindow::CreateQuestionWindow)},
        {17, through(&TMainWindow::CreateRecordsWindow)},
        {18, through(&TMainWindow::CreateAboutWindow)},
        {19, through(&TMainWindow::CreateResultWindow)},
    };
}

namespace {

void MakeCaption(QWidget* parent, const QString& text, QPoint at) {
    auto* label = new QLabel(text, parent);
    QFont font("Default");
    font.setPointSize(8);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(128, 0, 0));
    label->setPalette(palette);
    label->adjustSize();
    label->move(at);
}

} // namespace

TSplashWindow::TSplashWindow() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setFixedSize(240, 59);
    auto* picture = new QLabel(this);
    picture->setGeometry(0, 0, 240, 50);
    picture->setPixmap(QPixmap(":/resources/splash.png"));
    MakeCaption(this, QString::fromUtf8("Загрузка..."), {4, 3});
    MakeCaption(this, "Loading...", {189, 33});
    ProgressBar = new QProgressBar(this);
    ProgressBar->setGeometry(0, 51, 240, 8);
    ProgressBar->setRange(0, Steps);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    move(screen()->geometry().center() - rect().center());
    // The top is counted, not read back: a window manager may hold the window in view.
    top_ = y();
}

bool TSplashWindow::SlideStep() {
    slide_ += 16;
    top_ += slide_;
    move(x(), top_);
    repaint();
    const QRect screenArea = screen()->geometry();
    return top_ > screenArea.y() + screenArea.height();
}

void TSplashWindow::Advance() {
    ProgressBar->setValue(ProgressBar->value() + 1);
    repaint();
}

TStartUp::TStartUp(TKordiApp& app, TWindowTable windows) : app_(app), windows_(std::move(windows)) {
    timer_.setSingleShot(true);
}

TStartUp::~TStartUp() = default;

void TStartUp::Start() {
    splash_ = std::make_unique<TSplashWindow>();
    splash_->show();
    connect(&timer_, &QTimer::timeout, this, &TStartUp::CreateNext);
    timer_.start(0);
}

// One position of the bar a step; position 0 has nothing left to do: the application exists.
void TStartUp::CreateNext() {
    const int position = splash_->ProgressBar->value();
    try {
        if (const auto window = windows_.find(position); window != windows_.end())
            window->second([this] { splash_->Advance(); });
    } catch (const std::exception& error) {
        splash_.reset();
        emit Failed(QString::fromUtf8(error.what()));
        return;
    }
    splash_->Advance();
    if (splash_->ProgressBar->value() < TSplashWindow::Steps) {
        timer_.start(0);
        return;
    }
    disconnect(&timer_, &QTimer::timeout, this, &TStartUp::CreateNext);
    connect(&timer_, &QTimer::timeout, this, &TStartUp::Slide);
    timer_.start(SlideStepMs);
}

void TStartUp::Slide() {
    if (!splash_->SlideStep()) {
        timer_.start(SlideStepMs);
        return;
    }
    app_.MainWindow()->show();
    splash_.reset();
    emit Finished();
}
