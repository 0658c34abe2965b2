// Every interface text of both languages shows whole in the control that shows it, measured
// with that control's own font, so no wording can be cut off unseen.

#include "dictionary/Dictionary.h"
#include "net/SessionService.h"
#include "platform/CodePage.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/ChatWindow.h"
#include "ui/ConnectionWindow.h"
#include "ui/QuestionWindow.h"
#include "ui/RecordsWindow.h"
#include "ui/ResultWindow.h"
#include "ui/ReviewWindow.h"
#include "ui/StrengthWindow.h"
#include "ui/TexturesWindow.h"
#include "ui/WindowFixture.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

namespace {

// Keys whose texts no fixed control shows: menu items and window titles, which the menu bar
// and the window system lay out, the review's column titles, which its table lays out, and
// the network notices and messages, which go into the chat log or a message box.
bool InNoFixedControl(const QByteArray& key) {
    static const QList<QByteArray> others = {
        "Title",      "Wait",       "AddWord1",       "GameOver",    "Net_SkipMove",
        "Net_Advice", "Net_Winner", "Net_Loser",      "Net_Equal",   "Net_in",
        "Net_out",    "NewVersion", "Net_HostFailed", "Net_Refused", "ReviewColumns"};
    return key.startsWith("Menu_") || others.contains(key);
}

// The keys of a language's section of the shipped settings file.
QList<QByteArray> ShippedKeys(const QByteArray& section) {
    QFile file(KORDI_SOURCE_DIR "/data/Kordi2000.ini");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QList<QByteArray> keys;
    bool inSection = false;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('['))
            inSection = trimmed == '[' + section + ']';
        else if (inSection && trimmed.contains('=') && !trimmed.startsWith(';'))
            keys.append(trimmed.left(trimmed.indexOf('=')).trimmed());
    }
    return keys;
}

// The text a control shows, and whether all of it fits inside the control; nothing for a
// control that shows no text of its own.
struct TShownText {
    QString Text;
    bool Fits;
};

std::optional<TShownText> LineEditText(const QLineEdit* edit) {
    QStyleOptionFrame frame;
    frame.initFrom(edit);
    frame.lineWidth =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &frame, edit);
    const QMargins margins = edit->textMargins();
    // The edit keeps a margin of two pixels on either side of its text.
    const int room = contents.width() - margins.left() - margins.right() - 4;
    return TShownText{edit->text(), edit->fontMetrics().horizontalAdvance(edit->text()) <= room};
}

// Every line is as wide as the area at most, and every line's middle lies inside it: a line
// may lose a pixel of its descenders to a tight control, never a letter or a whole line.
bool FitsArea(const QFontMetrics& metrics, const QRect& area, int flags, const QString& text) {
    const QRect needed = metrics.boundingRect(area, flags, text);
    return needed.width() <= area.width() &&
           needed.height() <= area.height() + metrics.height() / 2;
}

std::optional<TShownText> ShownText(const QWidget* control) {
    const QFontMetrics metrics = control->fontMetrics();
    if (const auto* cool = qobject_cast<const TTexturedLabel*>(control)) {
        // The caption is drawn on one line inside the two-pixel bevels.
        const QRect area = cool->rect().adjusted(2, 2, -2, -2);
        return TShownText{cool->Caption(),
                          FitsArea(metrics, area, Qt::AlignCenter, cool->Caption())};
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        const int flags =
            static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return TShownText{label->text(),
                          FitsArea(metrics, label->contentsRect(), flags, label->text())};
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return TShownText{button->text(), button->sizeHint().width() <= button->width()};
    if (const auto* edit = qobject_cast<const QLineEdit*>(control))
        return LineEditText(edit);
    return std::nullopt;
}

class ShippedTexts : public GameFixture {
protected:
    ShippedTexts() {
        window->CreateConnectionWindow();
        window->ConnectionWindow->NetSession = &session;
        window->CreateChatWindow();
        window->CreateTexturesWindow();
        review = new TReviewWindow(look, window.get());
    }

    // Checks every control of the window that shows a shipped text, as it stands, and notes
    // the texts.
    void CheckControls(const QWidget* window, int language) {
        for (const QWidget* control : window->findChildren<const QWidget*>()) {
            const std::optional<TShownText> shown = ShownText(control);
            if (!shown || !IsShipped(shown->Text))
                continue;
            EXPECT_TRUE(shown->Fits)
                << "language " << language << ", " << control->metaObject()->className() << " "
                << control->width() << " by " << control->height() << " px: \""
                << shown->Text.toStdString() << "\" is "
                << control->fontMetrics().horizontalAdvance(shown->Text) << " px wide";
            Shown.append(shown->Text);
        }
    }

    // Shows the window as its menu item or its caller would, so it fetches its texts.
    void ShowAndCheck(QWidget* window, int language) {
        window->show();
        CheckControls(window, language);
        window->close();
    }

    // The question shows whole, and its buttons stand below it inside the window.
    void AskAndCheck(const QByteArray& question, int language) {
        QuestionWindow->Ask({}, GetTextU(question), [](int) {});
        const QRect label = QuestionWindow->QuestionLabel->geometry();
        EXPECT_TRUE(QuestionWindow->rect().contains(label)) << question.constData();
        for (const TTexturedButton* button : {QuestionWindow->YesButton, QuestionWindow->NoButton})
            EXPECT_TRUE(button->y() > label.bottom() &&
                        QuestionWindow->rect().contains(button->geometry()))
                << question.constData();
        ShowAndCheck(QuestionWindow, language);
    }

    // A text of the current language, or one composed from it ("AddRating1" and a number).
    bool IsShipped(const QString& text) const {
        return std::any_of(Texts.begin(), Texts.end(),
                           [&](const QString& shipped) { return text.startsWith(shipped); });
    }

    void UseShippedLanguage(int language) {
        UseLanguage(language);
        Texts.clear();
        for (const QByteArray& key : ShippedKeys(Words.LanguageName.toLatin1()))
            if (!InNoFixedControl(key))
                Texts[key] = GetTextU(key);
        Shown.clear();
    }

    // The connection window lists the session component's providers.
    TSessionService session;
    TReviewWindow* review;
    QMap<QByteArray, QString> Texts;
    QStringList Shown;
};

} // namespace

// Every shipped text of both languages fits the control that shows it (menus and window
// titles aside), and every such text is shown by some control that was checked; the
// questions' buttons stand below their texts.
TEST_F(ShippedTexts, EveryTextFitsItsControl) {
    for (int language : {1, 2}) {
        UseShippedLanguage(language);
        Main().RelabelMainWindow();
        CheckControls(&Main(), language);
        for (QWidget* window :
             QList<QWidget*>{StrengthWindow, RecordsWindow, ResultWindow, Main().ConnectionWindow,
                             Main().ChatWindow, Main().TexturesWindow})
            ShowAndCheck(window, language);
        review->Review({}, Words);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !review->Reviewing(); }));
        ShowAndCheck(review, language);
        for (const QByteArray question : {"AddWord2", "Sure"})
            AskAndCheck(question, language);

        for (auto text = Texts.begin(); text != Texts.end(); ++text) {
            const bool checked = std::any_of(Shown.begin(), Shown.end(), [&](const QString& shown) {
                return shown.startsWith(text.value());
            });
            EXPECT_TRUE(checked) << "language " << language << ": no control was checked for \""
                                 << text.key().constData() << "\"";
        }
    }
}
